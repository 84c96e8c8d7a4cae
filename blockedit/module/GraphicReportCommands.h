#pragma once

// The commands that apply a graphic report file: magr on the drawing being worked on, mgr on the
// drawing the report names.
void applyGraphicReport();  // magr
void graphicReport();       // mgr
// The legend or the pie chart of a report file, as a block definition only.
void legendBlockDefine();   // mlbd
void pieBlockDefine();      // mpbd
