#pragma once

class QString;
class QWidget;

// The modal message for a refused entry ("请输入一个整数。" and the like), over `parent`.
void showEntryWarning(QWidget* parent, const QString& text);
