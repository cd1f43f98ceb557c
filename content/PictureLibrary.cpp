// From a PictureBook to the image library, and from the library back to
// pictures files.
#include "game/Bmp.h"
#include "game/FileIo.h"
#include "content/PictureText.h"

#include <cstdio>
#include <map>
#include <set>
#include <tuple>

namespace brakkon {
namespace {

using Slot = std::tuple<std::int32_t, std::int32_t, std::int32_t>;

std::string SlotText(std::int32_t group, std::int32_t image, std::int32_t frame)
{
    std::string text = "group " + std::to_string(group);
    if (image >= 0) text += " image " + std::to_string(image);
    if (frame >= 0) text += " frame " + std::to_string(frame);
    return text;
}

// Applies a declared count to a computed one: the declaration is exact.
TextResult Declare(std::int32_t& count, std::int32_t& declared, std::string& declaredAt, const DeclaredCount& d,
                   std::int32_t group, std::int32_t image)
{
    if (declared >= 0 && declared != d.Count)
        return TextResult::Fail(d.Where + ": " + SlotText(group, image, -1) + " was declared with " +
                                std::to_string(declared) + " at " + declaredAt);
    declared = d.Count;
    declaredAt = d.Where;
    if (count < d.Count) count = d.Count;
    return TextResult::Ok();
}

Bitmap FrameBitmap(const PlacedFrame& p)
{
    if (!p.BmpBytes.empty()) {
        Bitmap b;
        if (!DecodeBmp(p.BmpBytes, b)) return {};
        b.Transparent = p.Transparent;
        return b;
    }
    return MakeBitmap(p.Picture.Width, p.Picture.Height, p.Picture.Pixels, p.Transparent);
}

} // namespace

TextResult BuildLibrary(const PictureBook& book, std::vector<ImageGroup>& images)
{
    std::map<Slot, const PlacedFrame*> placed;
    for (const auto& f : book.Frames) {
        const auto [it, fresh] = placed.emplace(Slot{f.Group, f.Image, f.Frame}, &f);
        if (!fresh)
            return TextResult::Fail(f.Where + ": " + SlotText(f.Group, f.Image, f.Frame) + " is already placed at " +
                                    it->second->Where);
    }

    // The shape: images per group and frames per image, as placed and declared.
    struct GroupShape {
        std::int32_t Images = 0, DeclaredImages = -1;
        std::string DeclaredAt;
        std::map<std::int32_t, std::int32_t> Frames;
        std::map<std::int32_t, std::pair<std::int32_t, std::string>> DeclaredFrames;
    };
    std::map<std::int32_t, GroupShape> shape;
    for (const auto& f : book.Frames) {
        GroupShape& g = shape[f.Group];
        g.Images = std::max(g.Images, f.Image + 1);
        g.Frames[f.Image] = std::max(g.Frames[f.Image], f.Frame + 1);
    }
    for (const auto& d : book.Counts) {
        GroupShape& g = shape[d.Group];
        if (d.Image < 0) {
            if (TextResult r = Declare(g.Images, g.DeclaredImages, g.DeclaredAt, d, d.Group, -1); !r) return r;
            continue;
        }
        g.Images = std::max(g.Images, d.Image + 1);
        auto& declared = g.DeclaredFrames.try_emplace(d.Image, -1, std::string()).first->second;
        if (TextResult r = Declare(g.Frames[d.Image], declared.first, declared.second, d, d.Group, d.Image); !r)
            return r;
    }
    for (auto& [group, g] : shape) {
        if (g.DeclaredImages >= 0 && g.Images > g.DeclaredImages)
            return TextResult::Fail(g.DeclaredAt + ": " + SlotText(group, -1, -1) + " is declared with " +
                                    std::to_string(g.DeclaredImages) + " images, but image " +
                                    std::to_string(g.Images - 1) + " is used");
        for (const auto& [image, declared] : g.DeclaredFrames)
            if (g.Frames[image] > declared.first)
                return TextResult::Fail(declared.second + ": " + SlotText(group, image, -1) + " is declared with " +
                                        std::to_string(declared.first) + " frames, but frame " +
                                        std::to_string(g.Frames[image] - 1) + " is placed");
    }

    // Every slot from 0 up must be filled; the walk stops at the first gap,
    // so a huge declared count costs no more than the frames placed.
    const std::int32_t groupCount = shape.empty() ? 0 : shape.rbegin()->first + 1;
    std::vector<ImageGroup> library;
    library.resize(static_cast<std::size_t>(groupCount));
    for (std::int32_t group = 0; group < groupCount; ++group) {
        const auto found = shape.find(group);
        if (found == shape.end())
            return TextResult::Fail("the image library: " + SlotText(group, -1, -1) + " is neither placed nor declared");
        GroupShape& g = found->second;
        for (std::int32_t image = 0; image < g.Images; ++image) {
            const auto frames = g.Frames.find(image);
            if (frames == g.Frames.end())
                return TextResult::Fail("the image library: " + SlotText(group, image, -1) +
                                        " is neither placed nor declared");
            ImageFrames bitmaps;
            for (std::int32_t frame = 0; frame < frames->second; ++frame) {
                const auto it = placed.find(Slot{group, image, frame});
                if (it == placed.end())
                    return TextResult::Fail("the image library: " + SlotText(group, image, frame) + " has no picture");
                Bitmap b = FrameBitmap(*it->second);
                if (b.Bytes.empty())
                    return TextResult::Fail(it->second->Where + ": the picture cannot be made into a BMP image");
                bitmaps.push_back(std::move(b));
            }
            library[static_cast<std::size_t>(group)].push_back(std::move(bitmaps));
        }
    }
    images = std::move(library);
    return TextResult::Ok();
}

std::string FrameName(std::size_t group, std::size_t image, std::size_t frame)
{
    char name[64];
    std::snprintf(name, sizeof name, "g%02zu-i%zu-f%zu", group, image, frame);
    return name;
}

} // namespace brakkon
