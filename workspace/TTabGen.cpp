// The page base: printing and copying do nothing unless a page kind says otherwise.
#include "workspace/TTabGen.h"

#include "workspace/TForm1.h"

TTabGen::TTabGen(QWidget* parent) : QWidget(parent) {}

void TTabGen::Print(QPrinter&) {}

void TTabGen::Kopier() {}

void TTabGen::SetEnable()
{
    if (Form1)
        Form1->UpdateMenus();
}
