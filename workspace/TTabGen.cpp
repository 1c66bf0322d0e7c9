// The page base: printing and copying do nothing unless a page kind says otherwise.
#include "workspace/TTabGen.h"

#include "workspace/TForm1.h"

#include <QTabWidget>

TTabGen::TTabGen(QWidget* parent) : QWidget(parent) {}

void TTabGen::Print(QPrinter&) {}

void TTabGen::Kopier() {}

void TTabGen::SetEnable()
{
    if (Form1)
        Form1->UpdateMenus();
}

void TTabGen::SetCaption(const QString& text)
{
    CaptionText = text;
    setAccessibleName(text);
    if (Form1 && Form1->PageControl1) {
        int i = Form1->PageControl1->indexOf(this);
        if (i >= 0)
            Form1->PageControl1->setTabText(i, QString(text).replace('&', "&&"));
    }
}
