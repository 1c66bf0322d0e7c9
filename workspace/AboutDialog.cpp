// The about dialog, owned by the main window and shown modally from the menu.
#include "workspace/AboutDialog.h"

#include "workspace/ToolIcons.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

// The build sets the version; the fallback keeps a stray compile working.
#ifndef TAVLIX_VERSION
#define TAVLIX_VERSION "0.0.0"
#endif

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName("aboutDialog");
    setWindowTitle("Om Tavlix");
    setModal(true);
    setFixedSize(298, 213);
    auto* panel = new QFrame(this);
    panel->setObjectName("panel");
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setFrameShadow(QFrame::Sunken);
    auto* icon = new QLabel(panel);
    icon->setObjectName("ProgramIcon");
    icon->setPixmap(programIcon().pixmap(48, 48));
    icon->setAccessibleName("Tavlix");
    auto* product = new QLabel("<b>Tavlix</b>", panel);
    product->setObjectName("ProductName");
    auto* version = new QLabel("Version " TAVLIX_VERSION, panel);
    version->setObjectName("Version");
    auto* copyright = new QLabel("Ophavsret \u00A9 Tavlix-udviklerne", panel);
    copyright->setObjectName("Copyright");
    auto* comments = new QLabel(
        "Funktioner, tabeller og differentialligninger\ntil matematik i skolen og på "
        "universitetet.",
        panel);
    comments->setObjectName("Comments");
    comments->setWordWrap(true);
    auto* head = new QHBoxLayout;
    head->addWidget(icon);
    auto* names = new QVBoxLayout;
    names->addWidget(product);
    names->addWidget(version);
    head->addLayout(names, 1);
    auto* inner = new QVBoxLayout(panel);
    inner->addLayout(head);
    inner->addWidget(copyright);
    inner->addWidget(comments);
    inner->addStretch();
    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("OKButton");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* all = new QVBoxLayout(this);
    all->addWidget(panel, 1);
    all->addWidget(ok);
}
