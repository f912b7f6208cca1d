#pragma once
// Automatic tone and colour correction of a frame from its own statistics: a levels stretch with a
// histogram equalisation (tone), then for the enhance mode a saturation boost through a colour cube.
// The strength (0..100, 50 usual) blends the correction with the unchanged picture: 0 leaves the frame
// as it is, 100 applies the full tone correction and twice the colour change.
#include "qelimaging/colour_cube.h"
#include "qelimaging/cube_cells.h"

namespace qel::imaging {

enum class AutoCorrection { Tone, Enhance };

// What the enhance correction keeps from one frame to the next: its cube and the cube's cells, built
// again only when the frame's saturation gain or the strength changes (the frames of a scene mostly
// share their gain). One for each stream of frames, used by one thread at a time; about 400 KB.
struct EnhanceTables {
    bool built = false;
    int gain = 0;
    int strength = 0;
    ColourCube cube;
    CubeCells cells;
};

// Corrects a three-channel frame from source into destination (the same buffer is fine). Returns false,
// writing nothing, for null buffers, a bad layout or a one-channel frame. With `kept`, enhance takes its
// cube from there while it fits, keeps a new one there otherwise, and maps the frame through tone
// table and cube in one pass; the result is the same either way.
bool AutoCorrectFrame(const std::uint8_t* source, std::uint8_t* destination, const PixelLayout& layout,
                      int strength, AutoCorrection correction, EnhanceTables* kept = nullptr);

namespace autotone {

// The constant curve that lifts a short equalisation curve (index: value, 0 -> 0, 255 -> 255).
const std::uint8_t* BrighteningCurve();

// The sampling grid of both steps: about 128 x 128 points.
struct SampleGrid {
    int rowStep = 1;
    int columnStep = 1;
    int count = 0; // (rows / rowStep) x (width / columnStep)
};
SampleGrid MakeSampleGrid(int width, int rows);

// The tone table of a frame (one table for all three components), strength-blended.
void BuildToneTable(const std::uint8_t* pixels, const PixelLayout& layout, int strength,
                    std::uint8_t table[256]);

// The saturation-raising cube of a (toned) frame, strength-blended; the identity when the frame has no
// saturated colours to go by. With `tone` the frame is measured as if every byte went through that table
// first, so that the toned frame need not exist before the cube does.
void BuildEnhanceCube(const std::uint8_t* pixels, const PixelLayout& layout, int strength, ColourCube& cube,
                      const std::uint8_t* tone = nullptr);

// The two halves of BuildEnhanceCube: the frame's saturation gain (0..96; -1 when it has no saturated
// colours to go by, which makes the cube the identity), then the cube for that gain and strength.
int EnhanceGain(const std::uint8_t* pixels, const PixelLayout& layout, const std::uint8_t* tone = nullptr);
void BuildEnhanceCubeForGain(int gain, int strength, ColourCube& cube);

// The saturation boost of one node colour by `gain` (0..96, out of 128), hue on a 0..383 circle.
Rgb RaiseSaturation(Rgb colour, int gain);

} // namespace autotone

} // namespace qel::imaging
