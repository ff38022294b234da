// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>

class QUrl;

// The routines that serve the start-up sequence.
namespace Main {

// The program's full title: the window caption, and the source of the shorter application title.
inline const QString kProductTitle = QStringLiteral("Bazaarly Lookup Across Many Towns Utility");
// The page shipped in the program's folder, opened when no other home page was given at build time.
inline const QString kShippedHomePage = QStringLiteral("homepage/index.html");
// The draw that opens the home page.
constexpr int kHomePageNumber = 7;

// True when the file's last-modification time can be read; never reports anything.
bool FileExists(const QString& path);

// The home page given when the program was built (BAZAARLY_HOME_PAGE); empty when none was.
QString configuredHomePage();

// The page that the draw opens: the configured address, or the shipped page in the application folder when the
// configured address is empty. A configured path or bare host name is read as a person would type it.
QUrl homePageAddress(const QString& applicationFolder, const QString& configuredAddress = configuredHomePage());

// Opens the home page when the draw (1 to 100) comes out as 7.
void MaybeOpenHomePage(int draw, const QString& applicationFolder, const std::function<void(const QUrl&)>& openUrl);

// The title less its last word, and less further words for as long as it is longer than 40 characters.
QString shortenedApplicationTitle(const QString& title);

// Makes the shortened product title the process-wide application title.
void SetApplicationTitle();

} // namespace Main
