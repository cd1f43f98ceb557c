// Pictures files ("brakkon-pictures 1"): drawings as character grids with a
// colour legend, drawings derived from others, and the statements that put
// drawings into the image library as frames. The format is described in
// data/README.md. ReadPictures reads one file into a PictureBook shared by
// all the files of a source folder (later files may use the drawings of
// earlier ones); BuildLibrary turns the book into the game's image library.
// WritePictures is the reverse used by "brakkon-data unpack": one file per
// group, every frame drawn out in full.
#pragma once

#include "content/Drawing.h"
#include "game/Records.h"
#include "content/TextSource.h"

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace brakkon {

constexpr std::string_view PicturesKind = "brakkon-pictures";
constexpr std::int32_t PicturesVersion = 1;
/// The largest group, image or frame index a pictures file may name.
constexpr std::int32_t MaxLibraryIndex = 999;
/// The most pixels all drawings and placed frames of a book may hold together.
constexpr std::size_t MaxBookPixels = std::size_t{16} * 1024 * 1024;

/// A frame placed in the image library.
struct PlacedFrame {
    std::int32_t Group = 0;
    std::int32_t Image = 0;
    std::int32_t Frame = 0;
    bool Transparent = false;
    Drawing Picture;                    ///< its colours (drawn frames)
    std::vector<std::uint8_t> BmpBytes; ///< its BMP image: a "bmp" file's bytes, or made from a "picture" file
    std::string Where;                  ///< "FILE:LINE" of the statement that placed it
};

/// An exact count of images in a group or of frames in an image, declared
/// with "group" and "image" statements (so that empty ones can be stated).
struct DeclaredCount {
    std::int32_t Group = 0;
    std::int32_t Image = -1; ///< -1: the group's image count
    std::int32_t Count = 0;
    std::string Where;
};

/// Everything the pictures files of a folder hold.
struct PictureBook {
    std::map<std::string, Drawing, std::less<>> Drawings;
    std::map<std::string, std::string, std::less<>> DrawnAt; ///< name -> "FILE:LINE"
    std::vector<PlacedFrame> Frames;
    std::vector<DeclaredCount> Counts;
    std::size_t Pixels = 0; ///< pixels held by the drawings and the placed frames
};

/// Reads one pictures file into `book`; "bmp" and "picture" statements name
/// files relative to `folder`. Fails with "FILE:LINE: ..." on the first fault.
[[nodiscard]] TextResult ReadPictures(const TextSource& source, const std::filesystem::path& folder, PictureBook& book);

/// The image library of the book: every group, image and frame from 0 up to
/// the highest one placed or declared must be there exactly once.
[[nodiscard]] TextResult BuildLibrary(const PictureBook& book, std::vector<ImageGroup>& images);

/// Writes one pictures file per group into `folder` and appends their names
/// (relative to `folder`) to `files`. A frame is drawn out as a grid when our
/// encoder gives back its stored bytes exactly; otherwise its BMP image is
/// written beside the file and taken in whole by a "bmp" statement.
[[nodiscard]] TextResult WritePictures(const std::vector<ImageGroup>& images, const std::filesystem::path& folder,
                                       std::vector<std::string>& files);

/// The name unpack gives the drawing of a frame: "g01-i2-f0".
[[nodiscard]] std::string FrameName(std::size_t group, std::size_t image, std::size_t frame);

} // namespace brakkon
