// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

#include <functional>

class QUrl;
class QWidget;
class SkinFramework;

// The routines that serve the start-up sequence.
namespace Main {

// The program's full title: the window caption, and the source of the shorter application title.
inline const QString kProductTitle = QStringLiteral("Bazaarly Lookup Across Many Towns Utility");
// The page shipped in the program's folder, opened when no other home page was given at build time.
inline const QString kShippedHomePage = QStringLiteral("homepage/index.html");
// The skin file, relative to the application folder; its presence turns the skin on.
inline const QString kSkinFile = QStringLiteral("x/o.cjs");
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

// When the skin file is an ordinary, visible file: paints the window and the surfaces in it (its frames and its
// label) in the button-face colour, then loads the skin into the window's skin engine and applies it to the window.
// A Failure when the skin cannot be used; colours already set stay.
void ApplySkin(const QString& skinPath, SkinFramework& skin, QWidget& window, const QList<QWidget*>& surfaces);

} // namespace Main
