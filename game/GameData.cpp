#include "game/GameData.h"

#include "game/Bmp.h"
#include "game/FileIo.h"
#include "game/GateStream.h"

#include <new>

namespace brakkon {
namespace {

// The smallest frame: file header, core header and the transparency byte.
constexpr std::size_t MinFrameSize = 14 + 12 + 1;

constexpr const char* WhyDamagedPicture = "holds a picture that is no BMP image this game reads";

void WriteFrame(ByteWriter& s, const Bitmap& frame)
{
    if (!frame.Bytes.empty()) {
        s.WriteBytes(frame.Bytes);
    } else {
        // Empty when the size is not positive, too large or does not match the pixels.
        const auto bytes = EncodeBmp(frame.Width, frame.Height, frame.Pixels);
        if (bytes.empty()) throw StreamError("holds a picture that cannot be stored");
        s.WriteBytes(bytes);
    }
    s.WriteByte(frame.Transparent ? 1 : 0);
}

/// True when a picture that cannot be measured looks cut off by the file's
/// end: fewer bytes left than a file header, or than its header's size.
bool CutShort(std::span<const std::uint8_t> rest)
{
    if (rest.size() < 14) return true;
    const std::uint32_t size = static_cast<std::uint32_t>(rest[2]) | static_cast<std::uint32_t>(rest[3]) << 8 |
                               static_cast<std::uint32_t>(rest[4]) << 16 | static_cast<std::uint32_t>(rest[5]) << 24;
    return rest[0] == 'B' && rest[1] == 'M' && size > rest.size();
}

Bitmap ReadFrame(ByteReader& s)
{
    const auto length = MeasureBmp(s.Rest());
    if (!length) throw StreamError(CutShort(s.Rest()) ? WhyEndsEarly : WhyDamagedPicture);
    Bitmap frame;
    if (!DecodeBmp(s.ReadBytes(*length), frame)) throw StreamError(WhyDamagedPicture);
    frame.Transparent = s.ReadByte() != 0;
    return frame;
}

} // namespace

bool HasGrid(const GateType& gate, std::int32_t cols, std::int32_t rows)
{
    if (gate.Cells.size() != static_cast<std::size_t>(cols)) return false;
    for (const auto& column : gate.Cells)
        if (column.size() != static_cast<std::size_t>(rows)) return false;
    return true;
}

IoResult WriteGameDataTo(ByteWriter& s, const GameType* game)
{
    if (game == nullptr) return IoResult::DataIo();
    try {
        s.WriteInt32(game->Cols);
        s.WriteInt32(game->Rows);
        s.WriteInt32(game->CellWidth);
        s.WriteInt32(game->CellHeight);
        s.WriteInt32(static_cast<std::int32_t>(game->Gates.size()));
        for (const auto& gate : game->Gates)
            if (IoResult r = WriteGateTo(s, gate.get()); !r) return r;
        s.WriteInt32(static_cast<std::int32_t>(game->Images.size()));
        for (const auto& group : game->Images) {
            s.WriteInt32(static_cast<std::int32_t>(group.size()));
            for (const auto& image : group) {
                s.WriteInt32(static_cast<std::int32_t>(image.size()));
                for (const auto& frame : image) WriteFrame(s, frame);
            }
        }
    } catch (const StreamError& e) {
        return IoResult::DataIo(e.what());
    } catch (const std::bad_alloc&) {
        return IoResult::DataIo(WhyNoMemory);
    }
    return IoResult::Ok();
}

IoResult ReadGameDataFrom(ByteReader& s, GameType* game)
{
    if (game == nullptr) return IoResult::DataIo();
    try {
        const std::int32_t cols = s.ReadInt32();
        const std::int32_t rows = s.ReadInt32();
        const std::int32_t cellWidth = s.ReadInt32();
        const std::int32_t cellHeight = s.ReadInt32();
        if (cols != FieldCols || rows != FieldRows || cellWidth != FieldCellWidth || cellHeight != FieldCellHeight)
            return IoResult::FileFormat("has a field other than 19 x 14 cells of 32 x 32 pixels");

        std::vector<std::unique_ptr<GateType>> gates(s.ReadCount(MinGateStreamSize));
        for (auto& gate : gates) {
            gate = std::make_unique<GateType>();
            if (IoResult r = ReadGateFrom(s, gate.get()); !r) return r;
            if (!HasGrid(*gate, cols, rows))
                return IoResult::FileFormat("holds gate " + std::to_string(&gate - gates.data()) +
                                            ", whose map is not 19 columns of 14 cells");
        }

        std::vector<ImageGroup> images(s.ReadCount(4));
        for (auto& group : images) {
            group.resize(s.ReadCount(4));
            for (auto& image : group) {
                const std::size_t frameCount = s.ReadCount(MinFrameSize);
                image.reserve(frameCount);
                for (std::size_t f = 0; f < frameCount; ++f) image.push_back(ReadFrame(s));
            }
        }

        game->Cols = cols;
        game->Rows = rows;
        game->CellWidth = cellWidth;
        game->CellHeight = cellHeight;
        game->Gates = std::move(gates);
        game->Images = std::move(images);
    } catch (const StreamError& e) {
        return IoResult::DataIo(e.what());
    } catch (const std::bad_alloc&) {
        return IoResult::DataIo(WhyNoMemory);
    }
    return IoResult::Ok();
}

IoResult EncodeGameDataFile(const GameType& game, std::vector<std::uint8_t>& out)
{
    ByteWriter s;
    try {
        s.WriteInt32(GameDataMagic);
        s.WriteInt32(GameDataVersion);
    } catch (const std::bad_alloc&) {
        return IoResult::DataIo(WhyNoMemory);
    }
    if (IoResult r = WriteGameDataTo(s, &game); !r) return r;
    out = s.TakeBytes();
    return IoResult::Ok();
}

IoResult DecodeGameDataFile(std::span<const std::uint8_t> bytes, GameType* game)
{
    ByteReader s(bytes);
    try {
        if (s.ReadInt32() != GameDataMagic) return IoResult::FileFormat("is not a data file of this game");
        if (const std::int32_t version = s.ReadInt32(); version != GameDataVersion)
            return IoResult::FileVersion(VersionWhy(version, GameDataVersion));
    } catch (const StreamError& e) {
        return IoResult::DataIo(e.what());
    }
    return ReadGameDataFrom(s, game);
}

IoResult SaveGameData(const std::filesystem::path& path, const GameType& game)
{
    std::vector<std::uint8_t> bytes;
    if (IoResult r = EncodeGameDataFile(game, bytes); !r) return std::move(r).Of(path);
    if (std::string why; !WriteFileAtomically(path, bytes, &why)) return IoResult::DataIo(why).Of(path);
    return IoResult::Ok();
}

IoResult LoadGameData(const std::filesystem::path& path, GameType& game)
{
    std::string why;
    const auto bytes = ReadFileBytes(path, &why);
    if (!bytes) return IoResult::DataIo(why).Of(path);
    return DecodeGameDataFile(*bytes, &game).Of(path);
}

bool WriteGameData(ByteWriter& stream, const GameType* game)
{
    if (game == nullptr) return false;
    return Reported(WriteGameDataTo(stream, game));
}

bool ReadGameData(ByteReader& stream, GameType* game)
{
    if (game == nullptr) return false;
    return Reported(ReadGameDataFrom(stream, game));
}

bool SaveGameDataFile(const std::filesystem::path& path, const GameType& game)
{
    return Reported(SaveGameData(path, game));
}

bool LoadGameDataFile(const std::filesystem::path& path, GameType& game)
{
    return Reported(LoadGameData(path, game));
}

} // namespace brakkon
