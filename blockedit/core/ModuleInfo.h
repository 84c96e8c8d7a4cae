#pragma once

// Identity of the module: the description is the source of every exception the module raises,
// the version is printed by each command.
inline constexpr char kModuleDescription[] = "Korva Brinmo compatible with 64bit AutoCAD 2018";
inline constexpr char kModuleVersion[] = "64.04.03.00";
