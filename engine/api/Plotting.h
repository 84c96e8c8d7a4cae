#pragma once
// What a module may use to plot: the page set-up of layouts, the plot engine that writes the
// PDF, JPG and PNG devices' files, and the plot progress dialog.
#include "engine/db/Layout.h"
#include "engine/dialogs/PlotProgressDialog.h"
#include "engine/render/Plotter.h"
