#pragma once
#include <QDialog>

class QLabel;
class QPushButton;

class AboutBox : public QDialog
{
    Q_OBJECT
public:
    explicit AboutBox(QWidget* parent = nullptr);

    QLabel* ProgramIcon = nullptr;
    QLabel* ProductName = nullptr;
    QLabel* Version = nullptr;
    QLabel* Copyright = nullptr;
    QLabel* Comments = nullptr;
    QLabel* Folders = nullptr; // where the user's files lie
    QPushButton* OKButton = nullptr;
    void setFolders(const QString& text);

protected:
    void showEvent(QShowEvent* e) override;
};
