#pragma once

#include <QByteArray>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QString>
#include <QStringList>
#include <vector>

#include "model/Result.h"

// One labelled box of the page header, showing a page parameter.
struct ReportHeaderBox {
    QString label;
    QString parameter;
    double width = 1;  // share of its header row
};

// One column of the detail table. Neighbouring columns with the same group share a caption
// above their own.
struct ReportColumn {
    QString field;
    QString caption;
    QString group;
    double width = 15;  // mm before the columns are scaled to the table's width
    Qt::Alignment align = Qt::AlignHCenter;
};

// The layout of a record table, read from a JSON file (".grf"). Lengths are millimetres, font
// sizes points. Defaults are the plain layout used when no template could be read.
struct ReportTemplate {
    static constexpr const char* formatName = "corvane-report/1";

    QString title;
    QPageSize pageSize{QPageSize::A4};
    QPageLayout::Orientation orientation = QPageLayout::Landscape;
    QMarginsF margins{15, 12, 15, 12};
    QString fontFamily = QStringLiteral("宋体");
    double titlePoints = 18;
    double textPoints = 10.5;
    double tablePoints = 9;
    double titleHeight = 12;
    double headerRowHeight = 8;
    double labelWidth = 24;
    std::vector<std::vector<ReportHeaderBox>> headerRows;
    bool hasDetail = true;
    double columnHeaderHeight = 7;  // per caption level
    double rowHeight = 7.5;
    bool repeatColumnHeader = true;
    std::vector<ReportColumn> columns;
    // A field that is no column: a row that sets it prints its text across the whole table
    // instead of its cells (rules, results, notes below the rows). Empty: no such rows.
    QString noteField;
    QStringList signature;
    QString pageNumber = QStringLiteral("第 {page} 页 共 {pages} 页");

    // Fails with the key that is wrong; `name` names the template in the message.
    static Result<ReportTemplate> parse(const QByteArray& json, const QString& name);
    static Result<ReportTemplate> load(const QString& path);

    // The first file of that name where the programs look for templates: beside the
    // executable, then in ../share/corvane/ relative to it. Empty when there is none.
    static QString locate(const QString& fileName);
    // The copy of a shipped template compiled into the programs.
    static QString builtIn(const QString& fileName);
};
