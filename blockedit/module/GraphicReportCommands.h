#pragma once

// The commands that apply a graphic report file: magr on the drawing being worked on, mgr on the
// drawing the report names.
void applyGraphicReport();  // magr
void graphicReport();       // mgr
