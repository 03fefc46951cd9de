#pragma once

#include <QProcess>
#include <QString>
#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

// What pdftotext reads back from a PDF, page by page, each line with its runs of spaces
// collapsed to one; empty when the file is no PDF.
inline std::vector<std::vector<std::string>> pdfPages(const std::string& path) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"),
            {QStringLiteral("-layout"), QString::fromStdString(path), QStringLiteral("-")});
    if (!p.waitForFinished(60000) || p.exitCode() != 0) return {};
    const std::string text = p.readAllStandardOutput().toStdString();
    std::vector<std::vector<std::string>> pages;
    std::istringstream pageStream(text);
    for (std::string page; std::getline(pageStream, page, '\f');) {
        std::vector<std::string>& lines = pages.emplace_back();
        std::istringstream lineStream(page);
        for (std::string line; std::getline(lineStream, line);) {
            std::istringstream words(line);
            std::string collapsed;
            for (std::string w; words >> w;) collapsed += (collapsed.empty() ? "" : " ") + w;
            if (!collapsed.empty()) lines.push_back(collapsed);
        }
    }
    if (!pages.empty() && pages.back().empty()) pages.pop_back();  // after the last \f
    return pages;
}

// The lines that start with one of the given words (a component code).
inline std::vector<std::string> linesStartingWith(const std::vector<std::string>& lines,
                                                  const std::vector<std::string>& starts) {
    std::vector<std::string> out;
    for (const auto& line : lines) {
        if (std::count(starts.begin(), starts.end(), line.substr(0, line.find(' ')))) {
            out.push_back(line);
        }
    }
    return out;
}
