#include "content/ContentSources.h"

#include "content/GateText.h"

#include <cstdio>
#include <system_error>

namespace brakkon {
namespace {

struct ListEntry {
    std::string Keyword; ///< "pictures" or "gate"
    std::string Path;
    std::size_t Line = 0;
};

TextResult ReadList(const std::filesystem::path& folder, GameType& sizes, std::vector<ListEntry>& entries,
                    TextSource& list)
{
    if (TextResult r = TextSource::Load(folder / ListFileName, (folder / ListFileName).string(), list); !r) return r;
    if (TextResult r = CheckVersionLine(list, ListKind, ListVersion); !r) return r;
    bool fieldSeen = false;
    for (std::size_t i = 1; i < list.LineCount(); ++i) {
        if (IsBlankOrComment(list.Line(i))) continue;
        const auto w = SplitWords(list.Line(i));
        if (w[0] == "field") {
            std::int32_t v[4] = {};
            if (w.size() != 5 || !ParseInt(w[1], v[0]) || !ParseInt(w[2], v[1]) || !ParseInt(w[3], v[2]) ||
                !ParseInt(w[4], v[3]))
                return list.Error(i, "expected 'field COLUMNS ROWS CELLWIDTH CELLHEIGHT'");
            if (v[0] != FieldCols || v[1] != FieldRows || v[2] != FieldCellWidth || v[3] != FieldCellHeight)
                return list.Error(i, "the game plays on a field of 19 x 14 cells of 32 x 32 pixels: 'field 19 14 32 32'");
            if (fieldSeen) return list.Error(i, "'field' is given twice");
            fieldSeen = true;
            sizes.Cols = v[0];
            sizes.Rows = v[1];
            sizes.CellWidth = v[2];
            sizes.CellHeight = v[3];
        } else if (w[0] == "pictures" || w[0] == "gate") {
            if (w.size() != 2) return list.Error(i, "expected '" + std::string(w[0]) + " PATH'");
            if (!IsInsidePath(w[1])) return list.Error(i, Quoted(w[1]) + " must be a relative path inside the folder");
            entries.push_back({std::string(w[0]), std::string(w[1]), i});
        } else {
            return list.Error(i, "unknown statement " + Quoted(w[0]) + " (field, pictures, gate)");
        }
    }
    if (!fieldSeen) return list.Error("no 'field' line");
    return TextResult::Ok();
}

TextResult ReadPicturesFile(const std::filesystem::path& folder, const ListEntry& entry, PictureBook& book)
{
    const std::filesystem::path path = folder / entry.Path;
    TextSource source;
    if (TextResult r = TextSource::Load(path, path.string(), source); !r) return r;
    return ReadPictures(source, path.parent_path(), book);
}

} // namespace

TextResult ReadContentSources(const std::filesystem::path& folder, GameType& game)
{
    GameType fresh;
    std::vector<ListEntry> entries;
    TextSource list;
    if (TextResult r = ReadList(folder, fresh, entries, list); !r) return r;
    PictureBook book;
    for (const auto& entry : entries) {
        if (entry.Keyword == "pictures") {
            if (TextResult r = ReadPicturesFile(folder, entry, book); !r) return r;
            continue;
        }
        const std::filesystem::path path = folder / entry.Path;
        TextSource source;
        if (TextResult r = TextSource::Load(path, path.string(), source); !r) return r;
        auto gate = std::make_unique<GateType>();
        if (TextResult r = ReadGateText(source, *gate); !r) return r;
        fresh.Gates.push_back(std::move(gate));
    }
    if (TextResult r = BuildLibrary(book, fresh.Images); !r) return r;
    fresh.Gate = std::move(game.Gate); // the working gate is not the sources' to replace
    game = std::move(fresh);
    return TextResult::Ok();
}

TextResult ReadPictureSources(const std::filesystem::path& folder, PictureBook& book)
{
    GameType sizes;
    std::vector<ListEntry> entries;
    TextSource list;
    if (TextResult r = ReadList(folder, sizes, entries, list); !r) return r;
    for (const auto& entry : entries)
        if (entry.Keyword == "pictures")
            if (TextResult r = ReadPicturesFile(folder, entry, book); !r) return r;
    return TextResult::Ok();
}

TextResult WriteContentSources(const GameType& game, const std::filesystem::path& folder)
{
    std::error_code ec;
    for (const char* sub : {"gates", "pictures"}) {
        std::filesystem::create_directories(folder / sub, ec);
        if (ec) return TextResult::Fail((folder / sub).string() + ": cannot create the folder");
    }
    std::string list = "brakkon-game 1\n# Written by brakkon-data unpack.\nfield " + std::to_string(game.Cols) + " " +
                       std::to_string(game.Rows) + " " + std::to_string(game.CellWidth) + " " +
                       std::to_string(game.CellHeight) + "\n";
    std::vector<std::string> pictures;
    if (TextResult r = WritePictures(game.Images, folder / "pictures", pictures); !r) return r;
    for (const auto& name : pictures) list += "pictures pictures/" + name + "\n";
    for (std::size_t i = 0; i < game.Gates.size(); ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "gate-%02zu.txt", i);
        std::string text;
        if (TextResult r = WriteGateText(*game.Gates[i], text); !r)
            return TextResult::Fail("gate " + std::to_string(i) + ": " + r.Message);
        if (TextResult r = WriteTextFile(folder / "gates" / name, text); !r) return r;
        list += "gate gates/" + std::string(name) + "\n";
    }
    return WriteTextFile(folder / ListFileName, list);
}

} // namespace brakkon
