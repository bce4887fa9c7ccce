#ifndef VELINOR_FORMATRULES_H
#define VELINOR_FORMATRULES_H

#include "arguments.h"

// What each output format allows and starts from, for every front end alike.
namespace velinor {

// The compression a format starts from. PNG reads it as the zlib level, where the strongest
// costs only time; JPEG as the quality, where the middle of the scale keeps calculator images
// light enough.
constexpr int defaultCompression(bool png)
{
    return png ? 9 : 5;
}

// JPEG has neither a palette nor 4-bit samples, so the 4-bpp modes are PNG only.
constexpr bool offeredInJpeg(ConversionOptions::ColourMode mode)
{
    return mode != ConversionOptions::ColourMode::Grey4 &&
           mode != ConversionOptions::ColourMode::Colour4;
}

} // namespace velinor

#endif
