#pragma once

#include <QString>

#include <functional>

class QUrl;

// The routines that serve the start-up sequence.
namespace Main {

// The program's full title: the window caption, and the source of the shorter application title.
inline const QString kProductTitle = QStringLiteral("Bazaarly Lookup Across Many Towns Utility");
// The maker's home page, opened on about one start in a hundred.
inline const QString kHomePage = QStringLiteral("https://www.quillmark.example/bazaarly-search/");
// The draw that opens the home page.
constexpr int kHomePageNumber = 7;

// True when the file's last-modification time can be read; never reports anything.
bool FileExists(const QString& path);

// Opens the home page when the draw (1 to 100) comes out as 7.
void MaybeOpenHomePage(int draw, const std::function<void(const QUrl&)>& openUrl);

// The title less its last word, and less further words for as long as it is longer than 40 characters.
QString shortenedApplicationTitle(const QString& title);

// Makes the shortened product title the process-wide application title.
void SetApplicationTitle();

} // namespace Main
