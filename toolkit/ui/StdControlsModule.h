// Registration of the standard controls, the grids, menus, tool and status bars, image and
// action lists and the open dialog with the class registry, so layouts can name them. Called
// by InitControls; calling it again does nothing.
#pragma once

void RegisterStandardControls();
