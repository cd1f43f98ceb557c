#include "content/PictureSheets.h"

#include "game/FileIo.h"
#include "game/Geometry.h"
#include "content/Png.h"

#include <algorithm>
#include <system_error>

namespace brakkon {
namespace {

constexpr std::uint32_t Opaque = 0xFF000000u;

const Bitmap* FrameAt(const std::vector<ImageGroup>& images, std::int32_t group, std::int32_t image,
                      std::int32_t frame)
{
    if (group < 0 || image < 0 || frame < 0 || static_cast<std::size_t>(group) >= images.size()) return nullptr;
    const ImageGroup& g = images[static_cast<std::size_t>(group)];
    if (static_cast<std::size_t>(image) >= g.size()) return nullptr;
    const ImageFrames& f = g[static_cast<std::size_t>(image)];
    if (static_cast<std::size_t>(frame) >= f.size()) return nullptr;
    return &f[static_cast<std::size_t>(frame)];
}

void DrawTile(Drawing& canvas, const std::vector<ImageGroup>& images, std::int32_t code, std::int32_t x, std::int32_t y)
{
    if (const Bitmap* tile = FrameAt(images, GroupTiles, 0, code)) DrawFrame(canvas, *tile, x, y);
}

Drawing Filled(std::int32_t width, std::int32_t height, std::uint32_t colour)
{
    return {width, height, std::vector<std::uint32_t>(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), colour)};
}

void Put(Drawing& canvas, std::int32_t x, std::int32_t y, std::uint32_t colour)
{
    if (x < 0 || y < 0 || x >= canvas.Width || y >= canvas.Height) return;
    canvas.Pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(canvas.Width) + static_cast<std::size_t>(x)] =
        colour;
}

// A tank or shell of `group` aligned on (col, row), active, showing `frame`.
std::unique_ptr<SpriteType> Placed(const GameType& game, std::int32_t group, std::int32_t col, std::int32_t row,
                                   std::int32_t direction, std::int32_t frame = 0)
{
    auto s = std::make_unique<SpriteType>();
    s->Kind = group < GroupPlayer2 ? KindPlayer1 : group < GroupEnemyTank ? KindPlayer2 : KindEnemy;
    s->ImageGroup = group;
    s->Direction = direction;
    s->Frame = frame;
    s->Active = 1;
    PlaceOnCell(game, *s, col, row);
    return s;
}

} // namespace

void DrawFrame(Drawing& canvas, const Bitmap& frame, std::int32_t x, std::int32_t y, std::int32_t scale)
{
    // A position read from a file may lie anywhere: a frame wholly off the
    // canvas is skipped before any pixel's place is added up.
    const std::int64_t width = std::int64_t{frame.Width} * scale, height = std::int64_t{frame.Height} * scale;
    if (x >= canvas.Width || y >= canvas.Height || x + width <= 0 || y + height <= 0) return;
    const std::uint32_t key = frame.TransparentColour();
    for (std::int32_t fy = 0; fy < frame.Height; ++fy)
        for (std::int32_t fx = 0; fx < frame.Width; ++fx) {
            const std::uint32_t p = frame.Pixels[static_cast<std::size_t>(fy) * static_cast<std::size_t>(frame.Width) +
                                                 static_cast<std::size_t>(fx)];
            if (frame.Transparent && p == key) continue;
            for (std::int32_t sy = 0; sy < scale; ++sy)
                for (std::int32_t sx = 0; sx < scale; ++sx) Put(canvas, x + fx * scale + sx, y + fy * scale + sy, p | Opaque);
        }
}

Drawing LibrarySheet(const std::vector<ImageGroup>& images, std::int32_t scale)
{
    constexpr std::int32_t Gap = 4;
    const std::int32_t cell = FieldCellWidth * scale + Gap;
    std::size_t columns = 1;
    for (const auto& group : images) {
        std::size_t frames = 0;
        for (const auto& image : group) frames += image.size();
        columns = std::max(columns, frames);
    }
    Drawing sheet = Filled(static_cast<std::int32_t>(columns) * cell + Gap,
                           static_cast<std::int32_t>(images.size()) * cell + Gap, 0xFF303048);
    for (std::size_t g = 0; g < images.size(); ++g) {
        std::int32_t col = 0;
        for (const auto& image : images[g])
            for (const auto& frame : image) {
                const std::int32_t x = Gap + col * cell, y = Gap + static_cast<std::int32_t>(g) * cell;
                // a chequered backing, 4 x 4 picture pixels a square
                for (std::int32_t py = 0; py < FieldCellHeight * scale; ++py)
                    for (std::int32_t px = 0; px < FieldCellWidth * scale; ++px)
                        Put(sheet, x + px, y + py, ((px / (4 * scale) + py / (4 * scale)) % 2) ? 0xFF505070 : 0xFF606088);
                DrawFrame(sheet, frame, x, y, scale);
                ++col;
            }
    }
    return sheet;
}

Drawing ComposeField(const std::vector<ImageGroup>& images, const GateType& gate)
{
    Drawing field = Filled(FieldCols * FieldCellWidth, FieldRows * FieldCellHeight, Opaque);
    for (const auto& column : gate.Cells)
        for (const auto& cell : column) {
            DrawTile(field, images, cell->GroundImage, cell->Left, cell->Top);
            DrawTile(field, images, cell->WallImage, cell->Left, cell->Top);
        }
    for (const auto& s : gate.Sprites)
        if (s->Active)
            if (const Bitmap* frame = FrameAt(images, s->ImageGroup, s->Direction, s->Frame))
                DrawFrame(field, *frame, s->Left, s->Top);
    for (const auto& column : gate.Cells)
        for (const auto& cell : column) DrawTile(field, images, cell->TopImage, cell->Left, cell->Top);
    return field;
}

std::unique_ptr<GateType> StagedGate(const GameType& game, std::size_t index)
{
    auto gate = std::make_unique<GateType>();
    gate->Cells = CloneCells(game.Gates.at(index)->Cells);
    const auto level = static_cast<std::int32_t>(index % 3);
    gate->Sprites.push_back(Placed(game, GroupPlayer1 + level, Player1StartCol, PlayerStartRow, DirUp));
    gate->Sprites.push_back(Placed(game, GroupPlayer2 + level, Player2StartCol, PlayerStartRow, DirUp, 1));
    std::int32_t placed = 0;
    bool covered = false;
    for (std::int32_t row = 0; row < FieldRows; ++row)
        for (std::int32_t col = 0; col < FieldCols; ++col) {
            const CellType* cell = CellAt(*gate, col, row);
            if (cell == nullptr || cell->Block != BlockOpen) continue;
            if (!covered && cell->TopImage >= TileCoverFirst && cell->TopImage <= TileCoverLast) {
                gate->Sprites.push_back(Placed(game, GroupEnemyTank, col, row, DirRight));
                covered = true;
            } else if (placed < 4 && (row * FieldCols + col) % 23 == 5 && cell->TopImage < 0) {
                gate->Sprites.push_back(Placed(game, GroupEnemyTank + placed, col, row, placed, placed % 2));
                ++placed;
            }
        }
    for (std::int32_t shell = 0; shell < 3; ++shell)
        gate->Sprites.push_back(Placed(game, GroupShell + shell, 3 + 6 * shell, 7, shell, shell % 2));
    for (std::size_t i = 0; i < gate->Sprites.size(); ++i) gate->Sprites[i]->Index = static_cast<std::int32_t>(i);
    return gate;
}

TextResult WritePngFile(const std::filesystem::path& path, const Drawing& picture)
{
    std::error_code ec;
    if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), ec);
    if (ec || !WriteFileAtomically(path, EncodePng(picture.Width, picture.Height, picture.Pixels)))
        return TextResult::Fail(path.string() + ": cannot write the file");
    return TextResult::Ok();
}

} // namespace brakkon
