// What the documents ask of the window that shows them: its page tabs, and the host their pages report to.
#pragma once

class Page;
class PageHost;
class QTabWidget;
class QWidget;
class ScriptPage;

class DocumentWindow {
public:
    virtual ~DocumentWindow() = default;

    // The host of every page, and the parent of the dialogs the documents open.
    virtual PageHost& pageHost() = 0;
    virtual QWidget* dialogParent() = 0;
    virtual QTabWidget* tabs() const = 0;
    virtual int pageCount() const = 0;
    virtual Page* page(int index) const = 0;
    virtual Page* activePage() const = 0;
    virtual void activatePage(Page* page) = 0;
    // A new document's page gets its tab; its tab, the title and the sliders follow it from then on.
    virtual void addDocumentPage(ScriptPage* page) = 0;
    // Closes a page; a script page takes its result pages along.
    virtual void removePage(Page* page) = 0;
    // The section panel goes back to the window, out of any page, before the start documents open.
    virtual void undockSectionPanel() = 0;
};
