#pragma once
// Whole pixels from scaled drawing coordinates, and black or white over a coloured area.
#include <cstdint>

// mode 1: truncated toward zero; 2: nearest, halves away from zero; 3: away from zero from 0.01 on;
// any other mode: 0. Results beyond 32 bits raise.
int32_t RoundByMode(double value, int32_t mode);
// 0 (black) when the mean of red, green and blue exceeds 128, else 0xFFFFFF (white).
int32_t WhiteOrBlack(int32_t colour);
