#include "platform/core/ColorValues.h"

namespace {

// The standard Windows scheme, as R, G, B.
constexpr uint32_t rgb(uint32_t v) { return RGBColor(int(v >> 16), int((v >> 8) & 0xFF), int(v & 0xFF)); }
constexpr uint32_t kTable[31] = {
    rgb(0xC8C8C8), rgb(0x000000), rgb(0x99B4D1), rgb(0xBFCDDB), rgb(0xF0F0F0), rgb(0xFFFFFF), rgb(0x646464),
    rgb(0x000000), rgb(0x000000), rgb(0x000000), rgb(0xB4B4B4), rgb(0xF4F7FC), rgb(0xABABAB), rgb(0x3399FF),
    rgb(0xFFFFFF), rgb(0xF0F0F0), rgb(0xA0A0A0), rgb(0x6D6D6D), rgb(0x000000), rgb(0x434E54), rgb(0xFFFFFF),
    rgb(0x696969), rgb(0xE3E3E3), rgb(0x000000), rgb(0xFFFFE1), rgb(0x000000), rgb(0x0066CC), rgb(0xB9D1EA),
    rgb(0xD7E4F2), rgb(0x3399FF), rgb(0xF0F0F0)};

}  // namespace

uint32_t SysColor(int index) { return index >= 0 && index < 31 ? kTable[index] : 0; }

uint32_t RealColor(uint32_t color) { return IsSystemColor(color) ? SysColor(int(color & 0xFF)) : color & 0xFFFFFF; }
