#include "app/About.h"
#include "config/Glyphs.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>

AboutBox::AboutBox(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(tr("About"));
    setModal(false);

    ProgramIcon = new QLabel(this);
    ProgramIcon->setPixmap(lexifol::glyphs::icon(lexifol::glyphs::Glyph::App, 32).pixmap(32, 32));
    ProgramIcon->setFixedSize(40, 40);
    ProgramIcon->setAlignment(Qt::AlignCenter);
    ProgramIcon->setFrameStyle(QFrame::Panel | QFrame::Sunken);

    ProductName = new QLabel(QStringLiteral("Lexifol 3.1"), this);
    QFont f = ProductName->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.3);
    ProductName->setFont(f);
    Version = new QLabel(tr("Written by the Lexifol developers"), this);
    Copyright = new QLabel(tr("Released December 2026"), this);
    Comments = new QLabel(tr("Contact: lexifol@example.org"), this);
    Folders = new QLabel(this);
    Folders->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Folders->setAccessibleName(tr("Folders"));

    OKButton = new QPushButton(tr("OK"), this);
    OKButton->setDefault(true);
    OKButton->setAutoDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

    auto* frame = new QFrame(this);
    frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    auto* inner = new QGridLayout(frame);
    inner->addWidget(ProgramIcon, 0, 0, 2, 1, Qt::AlignTop);
    inner->addWidget(ProductName, 0, 1);
    inner->addWidget(Version, 1, 1);
    inner->addWidget(Copyright, 2, 1);
    inner->addWidget(Comments, 3, 1);
    inner->addWidget(Folders, 4, 0, 1, 2);

    auto* g = new QGridLayout(this);
    g->addWidget(frame, 0, 0, 1, 3);
    g->addWidget(OKButton, 1, 1);
    // The box fits its text, the folders' long lines too, whenever it changes.
    g->setSizeConstraint(QLayout::SetFixedSize);
    setMinimumSize(300, 200);
}

void AboutBox::setFolders(const QString& text)
{
    Folders->setText(text);
}

void AboutBox::showEvent(QShowEvent* e)
{
    if (QScreen* s = screen()) {
        const QRect r = s->availableGeometry();
        move(r.center() - QPoint(width() / 2, height() / 2));
    }
    QDialog::showEvent(e);
}
