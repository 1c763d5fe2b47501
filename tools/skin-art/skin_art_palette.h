// Colours of the installer's art, shared by the picture generator and its mock-up previews.
// Several repeat entries of the skin's colour table ("global.xml") so that pictures and
// painted colours match.
#pragma once

namespace skinart {

struct Rgb {
  double r, g, b;
};

constexpr Rgb Hex(unsigned v) {
  return {((v >> 16) & 0xff) / 255.0, ((v >> 8) & 0xff) / 255.0, (v & 0xff) / 255.0};
}

// t = 0 gives a, t = 1 gives b.
constexpr Rgb Mix(Rgb a, Rgb b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

namespace palette {
constexpr Rgb kBlue = Hex(0x1f7ff0);
constexpr Rgb kBlueDeep = Hex(0x1558c8);
constexpr Rgb kTeal = Hex(0x1cc0aa);
constexpr Rgb kTealButton = Hex(0x17a9c8);
constexpr Rgb kProgressTeal = Hex(0x2aceae);    // "bk_progress_progress"
constexpr Rgb kProgressTrack = Hex(0xe3ecf5);   // "bk_progress_bk"
constexpr Rgb kBandStart = Hex(0x1a68dc);
constexpr Rgb kBandMiddle = Hex(0x1b8fe4);
constexpr Rgb kBandEnd = Hex(0x19bcae);
constexpr Rgb kSun = Hex(0xffb627);
constexpr Rgb kShadowInk = Hex(0x0b2440);
constexpr Rgb kText666 = Hex(0x666666);         // "text_color_666"
constexpr Rgb kText333 = Hex(0x333333);         // "text_color_333"
constexpr Rgb kSplitLine = Hex(0xd2d4d6);       // "splitline_level1"
constexpr Rgb kSplitLine2 = Hex(0xebedf0);      // "splitline_level2"
constexpr Rgb kHoverTint = Hex(0xf2f8ff);
constexpr Rgb kPushedTint = Hex(0xe1edfb);
constexpr Rgb kRed = Hex(0xe0463f);
constexpr Rgb kGray = Hex(0x8e99a6);            // "gray"
constexpr Rgb kGreen = Hex(0x00bb96);           // "green"
constexpr Rgb kAmber = Hex(0xf5a623);
constexpr Rgb kCheckLine = Hex(0xb4bfcb);
constexpr Rgb kMainWindow = Hex(0xf4f8f9);      // "bk_color_mainwnd"
}  // namespace palette

}  // namespace skinart
