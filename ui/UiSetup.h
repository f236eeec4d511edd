#pragma once
// What the program sets up once at start, before its first window: the look (style, palette,
// fonts), message boxes on screen, handler errors into the error log, and the one number
// formatter of the program for boxes and grids.
void SetupUi();
