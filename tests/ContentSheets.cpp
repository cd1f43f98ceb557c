#include "ContentSheets.h"

#include "FileIo.h"
#include "Png.h"

namespace brakkon::test {
namespace {

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

void DrawTile(Canvas& canvas, const std::vector<ImageGroup>& images, std::int32_t code, std::int32_t x, std::int32_t y)
{
    if (const Bitmap* tile = FrameAt(images, GroupTiles, 0, code)) DrawFrame(canvas, *tile, x, y);
}

} // namespace

void DrawFrame(Canvas& canvas, const Bitmap& frame, std::int32_t x, std::int32_t y, std::int32_t scale)
{
    const std::uint32_t key = frame.TransparentColour();
    for (std::int32_t fy = 0; fy < frame.Height; ++fy)
        for (std::int32_t fx = 0; fx < frame.Width; ++fx) {
            const std::uint32_t p = frame.Pixels[static_cast<std::size_t>(fy) * static_cast<std::size_t>(frame.Width) +
                                                 static_cast<std::size_t>(fx)];
            if (frame.Transparent && p == key) continue;
            for (std::int32_t sy = 0; sy < scale; ++sy)
                for (std::int32_t sx = 0; sx < scale; ++sx) {
                    const std::int32_t cx = x + fx * scale + sx, cy = y + fy * scale + sy;
                    if (cx < 0 || cy < 0 || cx >= canvas.Width || cy >= canvas.Height) continue;
                    canvas.Pixels[static_cast<std::size_t>(cy) * static_cast<std::size_t>(canvas.Width) +
                                  static_cast<std::size_t>(cx)] = p | 0xFF000000u;
                }
        }
}

Canvas LibrarySheet(const std::vector<ImageGroup>& images, std::int32_t scale)
{
    constexpr std::int32_t Gap = 4;
    const std::int32_t cell = 32 * scale + Gap;
    std::size_t columns = 1;
    for (const auto& group : images) {
        std::size_t frames = 0;
        for (const auto& image : group) frames += image.size();
        columns = std::max(columns, frames);
    }
    Canvas sheet(static_cast<std::int32_t>(columns) * cell + Gap, static_cast<std::int32_t>(images.size()) * cell + Gap,
                 0xFF303048);
    for (std::size_t g = 0; g < images.size(); ++g) {
        std::int32_t col = 0;
        for (const auto& image : images[g])
            for (const auto& frame : image) {
                const std::int32_t x = Gap + col * cell, y = Gap + static_cast<std::int32_t>(g) * cell;
                // a chequered backing, 4 x 4 source pixels a square
                for (std::int32_t py = 0; py < 32 * scale; ++py)
                    for (std::int32_t px = 0; px < 32 * scale; ++px)
                        sheet.Pixels[static_cast<std::size_t>(y + py) * static_cast<std::size_t>(sheet.Width) +
                                     static_cast<std::size_t>(x + px)] =
                            ((px / (4 * scale) + py / (4 * scale)) % 2) ? 0xFF505070 : 0xFF606088;
                DrawFrame(sheet, frame, x, y, scale);
                ++col;
            }
    }
    return sheet;
}

Canvas ComposeField(const std::vector<ImageGroup>& images, const GateType& gate)
{
    Canvas field(FieldCols * FieldCellWidth, FieldRows * FieldCellHeight, 0xFF000000);
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

bool WritePng(const std::filesystem::path& path, const Canvas& canvas)
{
    std::error_code ec;
    std::filesystem::create_directories(path.parent_path(), ec);
    return WriteFileAtomically(path, EncodePng(canvas.Width, canvas.Height, canvas.Pixels));
}

} // namespace brakkon::test
