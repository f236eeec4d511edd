#pragma once
// The look of every window, set up once at start by the program and by the widget tests: the
// Fusion style with a fixed palette drawn from the system colour table, and the Japanese fonts.
// The fonts the windows name ("ＭＳ Ｐゴシック", "ＭＳ ゴシック") resolve to IPA Gothic, with Noto
// Sans CJK JP as the fallback. On X11 the windows take the screen's colormap (ScreenColormap.h).
// Needs the application object.
void SetupGuiPlatform();

// The font families the windows name.
inline constexpr const char16_t* kFontPGothic = u"ＭＳ Ｐゴシック";
inline constexpr const char16_t* kFontGothic = u"ＭＳ ゴシック";
