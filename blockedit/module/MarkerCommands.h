#pragma once

// The commands that make the legend and pie chart markers a graphic report places its legend and
// chart at.
void legendMarkerBlockCreate();  // mlmc
void pieMarkerBlockCreate();     // mpmc
