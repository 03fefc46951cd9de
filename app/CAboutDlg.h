#pragma once

#include <QDialog>

// The About box (关于 Corvane).
class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};
