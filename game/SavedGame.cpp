#include "game/SavedGame.h"

#include "game/ByteStream.h"
#include "game/FileIo.h"
#include "game/GameData.h"
#include "game/GateStream.h"

#include <new>

namespace brakkon {
namespace {

/// Empty when the engine can play the gate; else why not.
std::string UnplayableWhy(const GateType& gate)
{
    if (!HasGrid(gate, FieldCols, FieldRows)) return "holds a map that is not 19 columns of 14 cells";
    if (gate.Sprites.size() < 2 || gate.Sprites[0]->Kind != KindPlayer1 || gate.Sprites[1]->Kind != KindPlayer2)
        return "does not begin with the two players' tanks";
    for (const auto& sprite : gate.Sprites)
        if (sprite->Index < 0 || !SpriteInField(*sprite)) return "holds a tank or shell that is not wholly on the field";
    return {};
}

} // namespace

bool SpriteInField(const SpriteType& s)
{
    if (s.OffsetX < 0 || s.OffsetX >= FieldCellWidth || s.OffsetY < 0 || s.OffsetY >= FieldCellHeight) return false;
    if (s.Col < 0 || s.Col >= FieldCols || s.Row < 0 || s.Row >= FieldRows) return false;
    // A sprite in the last column (row) cannot stick out past the field's edge.
    if (s.Col == FieldCols - 1 && s.OffsetX != 0) return false;
    if (s.Row == FieldRows - 1 && s.OffsetY != 0) return false;
    return s.Left == s.Col * FieldCellWidth + s.OffsetX && s.Top == s.Row * FieldCellHeight + s.OffsetY &&
           s.Right == s.Left + FieldCellWidth - 1 && s.Bottom == s.Top + FieldCellHeight - 1;
}

IoResult EncodeSavedGame(const GateType& gate, std::vector<std::uint8_t>& out)
{
    ByteWriter s;
    try {
        s.WriteInt32(SavedGameMagic);
        s.WriteInt32(SavedGameVersion);
    } catch (const std::bad_alloc&) {
        return IoResult::DataIo(WhyNoMemory);
    }
    if (IoResult r = WriteGateTo(s, &gate); !r) return r;
    out = s.TakeBytes();
    return IoResult::Ok();
}

IoResult DecodeSavedGame(std::span<const std::uint8_t> bytes, GateType& gate)
{
    ByteReader s(bytes);
    try {
        if (s.ReadInt32() != SavedGameMagic) return IoResult::FileFormat("is not a saved game of this game");
        if (const std::int32_t version = s.ReadInt32(); version != SavedGameVersion)
            return IoResult::FileVersion(VersionWhy(version, SavedGameVersion));
    } catch (const StreamError& e) {
        return IoResult::DataIo(e.what());
    }
    GateType fresh;
    if (IoResult r = ReadGateFrom(s, &fresh); !r) return r;
    if (std::string why = UnplayableWhy(fresh); !why.empty()) return IoResult::FileFormat(std::move(why));
    gate = std::move(fresh);
    return IoResult::Ok();
}

IoResult SaveGame(const std::filesystem::path& path, const GateType& gate)
{
    std::vector<std::uint8_t> bytes;
    if (IoResult r = EncodeSavedGame(gate, bytes); !r) return std::move(r).Of(path);
    if (std::string why; !WriteFileAtomically(path, bytes, &why)) return IoResult::DataIo(why).Of(path);
    return IoResult::Ok();
}

IoResult LoadGame(const std::filesystem::path& path, GateType& gate)
{
    std::string why;
    const auto bytes = ReadFileBytes(path, &why);
    if (!bytes) return IoResult::DataIo(why).Of(path);
    return DecodeSavedGame(*bytes, gate).Of(path);
}

bool SaveGameFile(const std::filesystem::path& path, const GateType& gate)
{
    return Reported(SaveGame(path, gate));
}

bool LoadGameFile(const std::filesystem::path& path, GateType& gate)
{
    return Reported(LoadGame(path, gate));
}

bool ReadSavedGameFile(const std::filesystem::path& path, std::vector<std::uint8_t>& bytes)
{
    std::string why;
    auto read = ReadFileBytes(path, &why);
    if (!read) return Reported(IoResult::DataIo(why).Of(path));
    GateType scratch;
    if (!Reported(DecodeSavedGame(*read, scratch).Of(path))) return false;
    bytes = std::move(*read);
    return true;
}

} // namespace brakkon
