#pragma once
// The about view's zoom choice, drawn over its image: the caption, then one entry per
// zoom::kZooms ("150 %") in its area of editor/layout.h, the zoom shown in the accent
// colour and framed.
class CDrawContext;

void DrawZoomChoice(CDrawContext* context, double shown);
