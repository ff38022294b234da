// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

// What the program prints when its command line asks for --help or --version (the first of them given), after
// which it ends without opening a window; nothing for any other command line, whose arguments the window ignores.
std::optional<std::string> commandLineAnswer(int argc, const char* const* argv);
