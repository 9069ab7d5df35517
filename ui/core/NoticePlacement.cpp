#include "ui/core/NoticePlacement.h"

namespace tarnelix {

bool operator==(const Rect& a, const Rect& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

bool operator!=(const Rect& a, const Rect& b)
{
    return !(a == b);
}

Placement PlaceFromBitmap(const Rect& workArea, int bitmapWidth, int bitmapHeight, int frameWidth, int frameHeight)
{
    const int workWidth = workArea.right - workArea.left;
    const int workHeight = workArea.bottom - workArea.top;
    Placement placement;
    placement.width = bitmapWidth + frameWidth;
    placement.height = bitmapHeight + frameHeight;
    placement.x = workWidth - placement.width;
    placement.y = workHeight - placement.height;
    return placement;
}

SlideResult SlideStep(SlideState& state, bool noticeVisible, const Rect& workArea, int noticeWindowWidth)
{
    SlideResult result;
    if (!noticeVisible) {
        return result;
    }
    const int height = state.pixelsPerStep * state.step;
    const int workWidth = workArea.right - workArea.left;
    const int workHeight = workArea.bottom - workArea.top;
    result.place = true;
    result.placement.x = workWidth - noticeWindowWidth;
    result.placement.y = workHeight - height;
    // The right and bottom edges are the work area's, whatever its origin.
    result.placement.width = workArea.right - result.placement.x;
    result.placement.height = workArea.bottom - result.placement.y;
    if (state.step == kSlideTopStep) {
        state.rising = false;
    }
    if (state.step == kSlideLastStep) {
        state.rising = true;
        result.hide = true;
    }
    state.step += state.rising ? 1 : -1;
    return result;
}

bool ShouldShowKillNotice(bool killNoticeVisible, const SlideState& state, bool timedNoticeVisible)
{
    return !killNoticeVisible && state.rising && !timedNoticeVisible;
}

}  // namespace tarnelix
