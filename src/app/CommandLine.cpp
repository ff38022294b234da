// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandLine.h"

#include "DistributorOptions.h"

#include <cstring>

std::optional<std::string> commandLineAnswer(int argc, const char* const* argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0)
            return std::string(
                "Usage: bazaarly-search [--help | --version]\n"
                "Opens the Bazaarly Lookup Across Many Towns Utility, a window that keeps a list of\n"
                "searches of the Bazaarly classifieds site, each limited to one city, and opens them in\n"
                "the default browser. Other arguments are ignored.\n"
                "\n"
                "  --help     print this help and exit\n"
                "  --version  print the version and exit\n");
        if (std::strcmp(argv[i], "--version") == 0)
            return std::string("BazaarlySearch " BAZAARLY_VERSION "\n"
                               "Copyright (C) 2026 Quillmark.\n"
                               "License GPLv3+: GNU GPL version 3 or later <https://gnu.org/licenses/gpl.html>.\n"
                               "This is free software: you are free to change and redistribute it.\n"
                               "There is NO WARRANTY, to the extent permitted by law.\n");
    }
    return std::nullopt;
}
