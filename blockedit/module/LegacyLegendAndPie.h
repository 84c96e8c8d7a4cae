#pragma once

class CAcadDrawing;
class CGraphicReport;

// The questions that define a report's legend and pie chart as block definitions only, for hosts
// that cannot draw them at markers and for drawings without markers: text size, the pie's radius
// (when the pie is wanted), rotation, whether empty categories are left out, units and precision.
void defineLegacyLegendAndPie(CAcadDrawing& drawing, CGraphicReport& report, bool legend, bool pie);
