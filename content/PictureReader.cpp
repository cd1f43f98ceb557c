// Reading a pictures file: one statement per line, grids below "draw" and
// "overlay" lines.
#include "game/Bmp.h"
#include "game/FileIo.h"
#include "content/PictureText.h"
#include "content/Png.h"

#include <system_error>

namespace brakkon {
namespace {

using Words = std::vector<std::string_view>;

bool IsNameChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
           c == '.';
}

bool ValidName(std::string_view name)
{
    if (name.empty() || name.size() > 64) return false;
    for (const char c : name)
        if (!IsNameChar(c)) return false;
    return true;
}

class PictureReader {
public:
    PictureReader(const TextSource& source, const std::filesystem::path& folder, PictureBook& book)
        : src_(source), folder_(folder), book_(book)
    {
    }

    TextResult Run()
    {
        if (TextResult r = CheckVersionLine(src_, PicturesKind, PicturesVersion); !r) return r;
        for (line_ = 1; line_ < src_.LineCount(); ++line_) {
            const std::string_view text = src_.Line(line_);
            if (IsBlankOrComment(text)) continue;
            if (TextResult r = Statement(SplitWords(text)); !r) return r;
        }
        return TextResult::Ok();
    }

private:
    TextResult Fail(std::string_view what) const { return src_.Error(line_, what); }
    std::string Where() const { return src_.Name() + ":" + std::to_string(line_ + 1); }

    TextResult Statement(const Words& w)
    {
        const std::string_view keyword = w[0];
        if (keyword == "colour") return ColourLine(w);
        if (keyword == "draw") return DrawLine(w);
        if (keyword == "overlay") return OverlayLine(w);
        if (keyword == "derive") return DeriveLine(w);
        if (keyword == "frame" || keyword == "bmp") return FrameLine(w, keyword == "bmp");
        if (keyword == "picture") return PictureLine(w);
        if (keyword == "tile") return TileLine(w);
        if (keyword == "turning") return TurningLine(w);
        if (keyword == "group" || keyword == "image") return CountLine(w);
        return Fail("unknown statement " + Quoted(keyword));
    }

    TextResult ColourLine(const Words& w)
    {
        if (w.size() != 3) return Fail("expected 'colour CHARACTER COLOUR'");
        if (w[1].size() != 1 || !Legend::Assignable(w[1][0]))
            return Fail(Quoted(w[1]) + " cannot stand for a colour (one printable character, not '-' or '#')");
        const auto colour = ParseColour(w[2]);
        if (!colour) return Fail("unknown colour " + Quoted(w[2]) + " (a standard name or #RRGGBB)");
        legend_.Set(w[1][0], *colour);
        return TextResult::Ok();
    }

    TextResult NewName(std::string_view name)
    {
        if (!ValidName(name)) return Fail("bad drawing name " + Quoted(name) + " (letters, digits, '-', '_', '.')");
        if (const auto it = book_.DrawnAt.find(name); it != book_.DrawnAt.end())
            return Fail("the drawing " + Quoted(name) + " is already defined at " + it->second);
        return TextResult::Ok();
    }

    TextResult Lookup(std::string_view name, const Drawing*& out)
    {
        const auto it = book_.Drawings.find(name);
        if (it == book_.Drawings.end()) return Fail("no drawing named " + Quoted(name) + " is defined above");
        out = &it->second;
        return TextResult::Ok();
    }

    // Counts the pixels the book is about to hold; refuses more than MaxBookPixels.
    TextResult Hold(const Drawing& d) { return Hold(d.Pixels.size()); }
    TextResult Hold(std::size_t pixels)
    {
        book_.Pixels += pixels;
        if (book_.Pixels > MaxBookPixels)
            return Fail("the pictures hold more than " + std::to_string(MaxBookPixels) + " pixels in all");
        return TextResult::Ok();
    }

    void Define(std::string_view name, Drawing drawing)
    {
        book_.Drawings.insert_or_assign(std::string(name), std::move(drawing));
        book_.DrawnAt.insert_or_assign(std::string(name), Where());
    }

    // Reads the grid lines below the statement line into `out`; KeepChar keeps `base`'s pixel.
    TextResult Grid(std::string_view name, Drawing& out, const Drawing* base)
    {
        const std::size_t first = line_ + 1;
        for (std::int32_t y = 0; y < out.Height; ++y) {
            line_ = first + static_cast<std::size_t>(y);
            if (line_ >= src_.LineCount())
                return src_.Error(line_ - 1, "the grid of " + Quoted(name) + " ends after " + std::to_string(y) +
                                                 " of " + std::to_string(out.Height) + " lines");
            const std::string_view row = src_.Line(line_);
            if (row.size() != static_cast<std::size_t>(out.Width))
                return Fail("a grid line of " + Quoted(name) + " has " + std::to_string(row.size()) +
                            " characters; the drawing is " + std::to_string(out.Width) + " wide");
            for (std::int32_t x = 0; x < out.Width; ++x) {
                const char c = row[static_cast<std::size_t>(x)];
                std::uint32_t colour = 0;
                if (base != nullptr && c == KeepChar) {
                    colour = base->At(x, y);
                } else if (const auto found = legend_.Find(c)) {
                    colour = *found;
                } else {
                    return Fail("character " + Quoted(std::string_view(&c, 1)) + " in column " + std::to_string(x + 1) +
                                " is not in the legend");
                }
                out.Pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(out.Width) +
                           static_cast<std::size_t>(x)] = colour;
            }
        }
        return TextResult::Ok();
    }

    TextResult DrawLine(const Words& w)
    {
        if (w.size() != 4) return Fail("expected 'draw NAME WIDTH HEIGHT'");
        if (TextResult r = NewName(w[1]); !r) return r;
        Drawing d;
        if (!ParseInt(w[2], d.Width) || !ParseInt(w[3], d.Height) || d.Width < 1 || d.Height < 1 ||
            d.Width > MaxDrawingSide || d.Height > MaxDrawingSide)
            return Fail("the size of a drawing is two numbers from 1 to " + std::to_string(MaxDrawingSide));
        d.Pixels.resize(static_cast<std::size_t>(d.Width) * static_cast<std::size_t>(d.Height));
        if (TextResult r = Hold(d); !r) return r;
        const std::size_t at = line_;
        if (TextResult r = Grid(w[1], d, nullptr); !r) return r;
        const std::size_t end = line_;
        line_ = at;
        Define(w[1], std::move(d));
        line_ = end;
        return TextResult::Ok();
    }

    TextResult OverlayLine(const Words& w)
    {
        if (w.size() != 3) return Fail("expected 'overlay NAME BASE'");
        if (TextResult r = NewName(w[1]); !r) return r;
        const Drawing* base = nullptr;
        if (TextResult r = Lookup(w[2], base); !r) return r;
        if (TextResult r = Hold(*base); !r) return r;
        Drawing d = *base;
        const std::size_t at = line_;
        if (TextResult r = Grid(w[1], d, base); !r) return r;
        const std::size_t end = line_;
        line_ = at;
        Define(w[1], std::move(d));
        line_ = end;
        return TextResult::Ok();
    }

    TextResult DeriveLine(const Words& w)
    {
        if (w.size() < 4) return Fail("expected 'derive NAME BASE' and at least one change");
        if (TextResult r = NewName(w[1]); !r) return r;
        const Drawing* base = nullptr;
        if (TextResult r = Lookup(w[2], base); !r) return r;
        if (TextResult r = Hold(*base); !r) return r;
        Drawing d = *base;
        for (std::size_t i = 3; i < w.size();) {
            const std::string_view op = w[i++];
            if (op == "turn" || op == "mirror") {
                if (i >= w.size()) return Fail(Quoted(op) + " needs a word after it");
                const std::string_view how = w[i++];
                if (op == "turn" && how == "left")
                    d = Rotated(d, Turn::Left);
                else if (op == "turn" && how == "right")
                    d = Rotated(d, Turn::Right);
                else if (op == "turn" && how == "half")
                    d = Rotated(d, Turn::Half);
                else if (op == "mirror" && how == "left-right")
                    d = Mirrored(d, true);
                else if (op == "mirror" && how == "top-bottom")
                    d = Mirrored(d, false);
                else
                    return Fail("unknown change " + Quoted(std::string(op) + " " + std::string(how)) +
                                " (turn left|right|half, mirror left-right|top-bottom)");
            } else if (op == "recolour") {
                std::vector<std::pair<std::uint32_t, std::uint32_t>> pairs;
                for (; i < w.size() && w[i].size() == 3 && w[i][1] == '='; ++i) {
                    const auto from = legend_.Find(w[i][0]);
                    const auto to = legend_.Find(w[i][2]);
                    if (!from || !to) return Fail("recolour pair " + Quoted(w[i]) + " names a character not in the legend");
                    pairs.emplace_back(*from, *to);
                }
                if (pairs.empty()) return Fail("'recolour' needs pairs like y=l");
                d = Recoloured(d, pairs);
            } else {
                return Fail("unknown change " + Quoted(op) + " (turn, mirror, recolour)");
            }
        }
        Define(w[1], std::move(d));
        return TextResult::Ok();
    }

    TextResult Index(std::string_view word, std::string_view what, std::int32_t& out)
    {
        if (!ParseInt(word, out) || out < 0 || out > MaxLibraryIndex)
            return Fail(std::string(what) + " " + Quoted(word) + " is not a number from 0 to " +
                        std::to_string(MaxLibraryIndex));
        return TextResult::Ok();
    }

    TextResult Mode(std::string_view word, bool& transparent)
    {
        if (word != "opaque" && word != "transparent") return Fail("expected 'opaque' or 'transparent', found " + Quoted(word));
        transparent = word == "transparent";
        return TextResult::Ok();
    }

    TextResult Place(std::int32_t group, std::int32_t image, std::int32_t frame, bool transparent, const Drawing& d)
    {
        if (TextResult r = Hold(d); !r) return r;
        PlacedFrame p;
        p.Group = group;
        p.Image = image;
        p.Frame = frame;
        p.Transparent = transparent;
        p.Picture = d;
        p.Where = Where();
        book_.Frames.push_back(std::move(p));
        return TextResult::Ok();
    }

    TextResult FrameLine(const Words& w, bool fromBmp)
    {
        if (w.size() != 6)
            return Fail(fromBmp ? "expected 'bmp GROUP IMAGE FRAME opaque|transparent FILE'"
                                : "expected 'frame GROUP IMAGE FRAME opaque|transparent NAME'");
        std::int32_t group = 0, image = 0, frame = 0;
        bool transparent = false;
        if (TextResult r = Index(w[1], "group", group); !r) return r;
        if (TextResult r = Index(w[2], "image", image); !r) return r;
        if (TextResult r = Index(w[3], "frame", frame); !r) return r;
        if (TextResult r = Mode(w[4], transparent); !r) return r;
        if (!fromBmp) {
            const Drawing* d = nullptr;
            if (TextResult r = Lookup(w[5], d); !r) return r;
            return Place(group, image, frame, transparent, *d);
        }
        if (!ValidName(w[5])) return Fail("bad BMP file name " + Quoted(w[5]) + " (a name in the same folder)");
        const std::filesystem::path path = folder_ / std::string(w[5]);
        std::error_code ec;
        const auto size = std::filesystem::file_size(path, ec);
        if (!ec && size > MaxTextSourceSize) return Fail("the BMP file " + Quoted(w[5]) + " is too large");
        const auto bytes = ReadFileBytes(path);
        if (!bytes) return Fail("cannot read the BMP file " + Quoted(w[5]));
        Bitmap decoded;
        const auto length = MeasureBmp(*bytes);
        if (!length || *length != bytes->size() || !DecodeBmp(*bytes, decoded))
            return Fail(Quoted(w[5]) + " is not one whole uncompressed BMP image");
        if (TextResult r = Hold(Drawing{decoded.Width, decoded.Height, std::move(decoded.Pixels)}); !r) return r;
        PlacedFrame p;
        p.Group = group;
        p.Image = image;
        p.Frame = frame;
        p.Transparent = transparent;
        p.BmpBytes = *bytes;
        p.Where = Where();
        book_.Frames.push_back(std::move(p));
        return TextResult::Ok();
    }

    // A frame made from a picture file (BMP of any kind, PNG) at pack time.
    TextResult PictureLine(const Words& w)
    {
        if (w.size() != 6) return Fail("expected 'picture GROUP IMAGE FRAME opaque|transparent FILE'");
        PlacedFrame p;
        if (TextResult r = Index(w[1], "group", p.Group); !r) return r;
        if (TextResult r = Index(w[2], "image", p.Image); !r) return r;
        if (TextResult r = Index(w[3], "frame", p.Frame); !r) return r;
        if (TextResult r = Mode(w[4], p.Transparent); !r) return r;
        if (!IsInsidePath(w[5]))
            return Fail(Quoted(w[5]) + " must be a path relative to the pictures file, without '..' steps");
        LoadedFrame loaded = ReadPictureFrame(folder_ / std::string(w[5]), DecodePng);
        if (!loaded.Frame) return Fail(loaded.Message);
        if (TextResult r = Hold(loaded.Frame->Pixels.size()); !r) return r;
        p.BmpBytes = std::move(loaded.Frame->Bytes);
        p.Where = Where();
        book_.Frames.push_back(std::move(p));
        return TextResult::Ok();
    }

    TextResult TileLine(const Words& w)
    {
        if (w.size() != 4) return Fail("expected 'tile CODE opaque|transparent NAME'");
        std::int32_t code = 0;
        bool transparent = false;
        if (TextResult r = Index(w[1], "tile code", code); !r) return r;
        if (TextResult r = Mode(w[2], transparent); !r) return r;
        const Drawing* d = nullptr;
        if (TextResult r = Lookup(w[3], d); !r) return r;
        return Place(GroupTiles, 0, code, transparent, *d);
    }

    TextResult TurningLine(const Words& w)
    {
        if (w.size() < 4) return Fail("expected 'turning GROUP opaque|transparent NAME...'");
        std::int32_t group = 0;
        bool transparent = false;
        if (TextResult r = Index(w[1], "group", group); !r) return r;
        if (TextResult r = Mode(w[2], transparent); !r) return r;
        for (std::size_t i = 3; i < w.size(); ++i) {
            const Drawing* d = nullptr;
            if (TextResult r = Lookup(w[i], d); !r) return r;
            const auto frame = static_cast<std::int32_t>(i - 3);
            if (frame > MaxLibraryIndex) return Fail("too many frames");
            for (std::int32_t direction = 0; direction < 4; ++direction)
                if (TextResult r = Place(group, direction, frame, transparent, FacingDirection(*d, direction)); !r)
                    return r;
        }
        return TextResult::Ok();
    }

    TextResult CountLine(const Words& w)
    {
        const bool ofGroup = w[0] == "group";
        if (w.size() != (ofGroup ? 3u : 4u))
            return Fail(ofGroup ? "expected 'group GROUP IMAGES'" : "expected 'image GROUP IMAGE FRAMES'");
        DeclaredCount c;
        if (TextResult r = Index(w[1], "group", c.Group); !r) return r;
        if (!ofGroup)
            if (TextResult r = Index(w[2], "image", c.Image); !r) return r;
        if (TextResult r = Index(w.back(), "count", c.Count); !r) return r;
        c.Where = Where();
        book_.Counts.push_back(std::move(c));
        return TextResult::Ok();
    }

    const TextSource& src_;
    const std::filesystem::path& folder_;
    PictureBook& book_;
    Legend legend_;
    std::size_t line_ = 0;
};

} // namespace

TextResult ReadPictures(const TextSource& source, const std::filesystem::path& folder, PictureBook& book)
{
    return PictureReader(source, folder, book).Run();
}

} // namespace brakkon
