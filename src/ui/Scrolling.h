// The arithmetic of a top-level window's scrolled content, as plain numbers: positions are how
// far the content is scrolled up, in pixels.
#pragma once

// `target` held within the content: at most contentHeight - pageHeight, at least 0.
constexpr int ClampScroll(int target, int contentHeight, int pageHeight) {
    const int last = contentHeight - pageHeight;
    return target > last ? (last > 0 ? last : 0) : (target < 0 ? 0 : target);
}

// The scroll position that shows the band from `top` to `bottom` (content coordinates) on a page
// of `pageHeight` now scrolled to `scrollPos`: the same position when the band is on the page,
// else the least move that brings it there, `margin` pixels from the edge (its top first, when
// it is taller than the page).
constexpr int ScrollToShow(int top, int bottom, int scrollPos, int pageHeight, int contentHeight, int margin) {
    int target = scrollPos;
    if (bottom > scrollPos + pageHeight) target = bottom + margin - pageHeight;
    if (top < target) target = top - margin;
    return ClampScroll(target, contentHeight, pageHeight);
}
