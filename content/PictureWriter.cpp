// Writing the image library as pictures files, one per group, every frame
// drawn out as a grid of its exact colours.
#include "game/Bmp.h"
#include "game/FileIo.h"
#include "content/PictureText.h"

#include <cstdio>
#include <map>
#include <set>

namespace brakkon {
namespace {

// Characters free for colours outside the standard sixteen.
std::string ColourPool()
{
    std::string pool;
    const Legend standard;
    for (char c = '!'; c < 0x7F; ++c)
        if (Legend::Assignable(c) && !standard.Find(c)) pool += c;
    return pool;
}

char StandardChar(std::uint32_t argb)
{
    if (argb == KeyColour) return KeyChar;
    for (const auto& c : StandardColours)
        if (c.Argb == argb) return c.Letter;
    return 0;
}

// Writes the frames of one group; the legend of pool characters carries on
// from drawing to drawing and is redefined where a drawing needs it.
class GroupWriter {
public:
    GroupWriter(std::size_t group, const std::filesystem::path& folder) : group_(group), folder_(folder) {}

    TextResult Write(const ImageGroup& images, std::string& text)
    {
        text = "brakkon-pictures 1\n# Group " + std::to_string(group_) +
               " of the image library, one drawing per frame (written by brakkon-data unpack).\n";
        text += "group " + std::to_string(group_) + " " + std::to_string(images.size()) + "\n";
        for (std::size_t i = 0; i < images.size(); ++i)
            text += "image " + std::to_string(group_) + " " + std::to_string(i) + " " +
                    std::to_string(images[i].size()) + "\n";
        for (std::size_t i = 0; i < images.size(); ++i)
            for (std::size_t f = 0; f < images[i].size(); ++f)
                if (TextResult r = Frame(images[i][f], i, f, text); !r) return r;
        return TextResult::Ok();
    }

private:
    TextResult Frame(const Bitmap& b, std::size_t image, std::size_t frame, std::string& text)
    {
        const std::string name = FrameName(group_, image, frame);
        const std::string slot = std::to_string(group_) + " " + std::to_string(image) + " " + std::to_string(frame) +
                                 (b.Transparent ? " transparent " : " opaque ");
        std::map<std::uint32_t, char> chars;
        if (Drawable(b) && Assign(b, chars, text)) {
            text += "\ndraw " + name + " " + std::to_string(b.Width) + " " + std::to_string(b.Height) + "\n";
            for (std::int32_t y = 0; y < b.Height; ++y) {
                for (std::int32_t x = 0; x < b.Width; ++x)
                    text += chars.at(b.Pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(b.Width) +
                                              static_cast<std::size_t>(x)]);
                text += '\n';
            }
            text += "frame " + slot + name + "\n";
            return TextResult::Ok();
        }
        // Our encoder would not give these bytes back: keep the image whole.
        const std::string file = name + ".bmp";
        if (!WriteFileAtomically(folder_ / file, b.Bytes))
            return TextResult::Fail((folder_ / file).string() + ": cannot write the file");
        text += "\nbmp " + slot + file + "\n";
        return TextResult::Ok();
    }

    static bool Drawable(const Bitmap& b)
    {
        if (b.Width < 1 || b.Height < 1 || b.Width > MaxDrawingSide || b.Height > MaxDrawingSide) return false;
        if (b.Pixels.size() != static_cast<std::size_t>(b.Width) * static_cast<std::size_t>(b.Height)) return false;
        return EncodeBmp(b.Width, b.Height, b.Pixels) == b.Bytes;
    }

    // Gives every colour of the frame a character, defining pool characters
    // with "colour" lines as needed. False when the pool runs out.
    bool Assign(const Bitmap& b, std::map<std::uint32_t, char>& chars, std::string& text)
    {
        std::vector<std::uint32_t> extra;
        for (const std::uint32_t p : b.Pixels) {
            if (chars.contains(p)) continue;
            if (const char c = StandardChar(p)) {
                chars[p] = c;
                continue;
            }
            if (extra.size() == pool_.size()) return false;
            chars[p] = 0;
            extra.push_back(p);
        }
        std::set<char> taken;
        for (const std::uint32_t colour : extra)
            if (const auto it = current_.find(colour); it != current_.end()) {
                chars[colour] = it->second;
                taken.insert(it->second);
            }
        std::string lines;
        for (const std::uint32_t colour : extra) {
            if (chars[colour] != 0) continue;
            while (taken.contains(pool_[next_])) next_ = (next_ + 1) % pool_.size();
            const char c = pool_[next_];
            next_ = (next_ + 1) % pool_.size();
            std::erase_if(current_, [c](const auto& entry) { return entry.second == c; });
            current_[colour] = c;
            chars[colour] = c;
            taken.insert(c);
            lines += std::string("colour ") + c + " " + ColourWord(colour) + "\n";
        }
        if (!lines.empty()) text += "\n" + lines;
        return true;
    }

    std::size_t group_;
    const std::filesystem::path& folder_;
    const std::string pool_ = ColourPool();
    std::size_t next_ = 0;
    std::map<std::uint32_t, char> current_; ///< pool colours defined so far in this file
};

} // namespace

TextResult WritePictures(const std::vector<ImageGroup>& images, const std::filesystem::path& folder,
                         std::vector<std::string>& files)
{
    for (std::size_t g = 0; g < images.size(); ++g) {
        char name[32];
        std::snprintf(name, sizeof name, "group-%02zu.txt", g);
        std::string text;
        if (TextResult r = GroupWriter(g, folder).Write(images[g], text); !r) return r;
        if (TextResult r = WriteTextFile(folder / name, text); !r) return r;
        files.emplace_back(name);
    }
    return TextResult::Ok();
}

} // namespace brakkon
