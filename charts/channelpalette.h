#ifndef CHANNELPALETTE_H
#define CHANNELPALETTE_H

#include "chip/chip.h"
#include <QColor>

// The fixed colour of each touch channel: curves, colour swatches and ticked check boxes.
namespace ChannelPalette
{

inline QColor colour(int channel)
{
    static constexpr unsigned char kRgb[chip::kChannelCount][3] = {
        {170, 0, 0},    {0, 85, 0},      {170, 85, 0},    {0, 170, 0},   {170, 170, 0},
        {0, 255, 0},    {170, 255, 0},   {0, 0, 127},     {170, 0, 127}, {0, 85, 127},
        {170, 85, 127}, {0, 170, 127},   {170, 170, 127}, {0, 255, 127}, {170, 255, 127},
        {0, 0, 255},    {170, 0, 255},   {0, 85, 255},    {0, 170, 255}, {170, 170, 255},
        {0, 255, 255},  {170, 255, 255}, {85, 0, 0},      {255, 0, 0},   {179, 212, 255},
    };
    if (channel < 0 || channel >= chip::kChannelCount)
        return QColor();
    return QColor(kRgb[channel][0], kRgb[channel][1], kRgb[channel][2]);
}

} // namespace ChannelPalette

#endif // CHANNELPALETTE_H
