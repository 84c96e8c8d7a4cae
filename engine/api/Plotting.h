#pragma once
// What a module may use to plot: the page set-up of layouts and the plot engine that writes the
// PDF, JPG and PNG devices' files.
#include "engine/db/Layout.h"
#include "engine/render/Plotter.h"
