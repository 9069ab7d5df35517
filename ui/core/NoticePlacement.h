#pragma once

namespace tarnelix {

// Where the notices stand: flush with the lower right corner of the work
// area (the screen minus the taskbar), and the kill notice's slide.

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

bool operator==(const Rect& a, const Rect& b);
bool operator!=(const Rect& a, const Rect& b);

struct Placement {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// The window takes its bitmap's size plus its frame (outer size minus
// client size): W = bitmap + frame, x = workW - W, y = workH - H. The
// position comes from the work area's width and height, not its corner, so
// the window is flush with the corner only when the work area starts at the
// screen's origin; that is how the notices have always been placed.
Placement PlaceFromBitmap(const Rect& workArea, int bitmapWidth, int bitmapHeight, int frameWidth, int frameHeight);

// The kill notice's slide, kept by the main window and advanced by its
// 300 ms timer 51.
struct SlideState {
    int pixelsPerStep = 15;
    int step = 2;
    bool rising = true;
};

inline constexpr int kSlideTopStep = 6;
inline constexpr int kSlideLastStep = 1;
inline constexpr unsigned kSlideTimerMilliseconds = 300;
// Dialog template 165 and its skin bitmap.
inline constexpr int kKillNoticeTemplateId = 165;
inline constexpr char kKillNoticeBitmap[] = "Msn.bmp";

struct SlideResult {
    bool place = false;  // move the notice topmost, without activating it
    Placement placement;
    bool hide = false;  // after placing
};

// One tick: height 15 × step at the bottom of the work area, up to step 6
// and back down to step 1, where the notice hides and the step is 2 again.
// Heights of one run: 30, 45, 60, 75, 90, 75, 60, 45, 30, 15. A notice that
// is not visible leaves the state alone.
SlideResult SlideStep(SlideState& state, bool noticeVisible, const Rect& workArea, int noticeWindowWidth);

// A kill is announced only when neither notice is on screen and the kill
// notice is not sliding down; kills in between are not announced again.
bool ShouldShowKillNotice(bool killNoticeVisible, const SlideState& state, bool timedNoticeVisible);

}  // namespace tarnelix
