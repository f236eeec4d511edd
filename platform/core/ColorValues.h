#pragma once
// Colours as numbers, as the forms run time writes them: 32-bit &HBBGGRR (red in the low byte),
// or, with the top bit set (&H800000nn), the system colour nn, resolved from a fixed table so
// that every desktop shows the same colours. Widget-free: the windows (platform/gui/Colors.h) and
// the sheet drawing both resolve colours here.
#include <cstdint>

constexpr uint32_t RGBColor(int r, int g, int b) { return uint32_t(r) | uint32_t(g) << 8 | uint32_t(b) << 16; }
constexpr bool IsSystemColor(uint32_t c) { return (c & 0x80000000u) != 0; }

// System colour indices used by the program's windows.
enum SystemColorIndex { kColorWindow = 5, kColorWindowText = 8, kColorHighlight = 13, kColorHighlightText = 14,
                        kColorBtnFace = 15, kColorBtnShadow = 16, kColorGrayText = 17, kColorBtnText = 18,
                        kColor3DLight = 22 };
constexpr uint32_t kSysBtnFace = 0x8000000Fu;
constexpr uint32_t kSysWindow = 0x80000005u;
constexpr uint32_t kSysWindowText = 0x80000008u;

uint32_t SysColor(int index);              // &HBBGGRR of a system colour index (0 when unknown)
uint32_t RealColor(uint32_t color);        // a system colour resolved, a plain colour unchanged
