// The desktop program's command line:
//   velmor [FILE.psm]                                open FILE as File > Open does
//   velmor --export-trend OUT.png [--scale N] FILE  the Trends panel as a picture
//   velmor --print-pdf OUT.pdf FILE                 the printed report as a PDF
//   velmor --help | --version
#pragma once

#include <QString>
#include <QStringList>

namespace velmor {

struct CommandLine {
    QString file;        // simulation file to open, if any
    QString exportTrend; // --export-trend: PNG to write
    int scale = 1;       // --scale: pixels per panel pixel of the PNG
    QString printPdf;    // --print-pdf: PDF to write
    bool help = false;
    bool version = false;
    QString error; // a usage error, for standard error

    // Writes a file and ends without showing a window.
    bool writesFiles() const { return !exportTrend.isEmpty() || !printPdf.isEmpty(); }
};

// `arguments` as main() got them, the program's name first.
CommandLine ParseCommandLine(const QStringList& arguments);

// The text of --help.
QString CommandLineHelp();

} // namespace velmor
