// CZQAlertWnd: the small scrolling list a page shows in place of its placeholder control: one row
// per device alert, each with a 32 x 32 warning or error icon at its top-left and a word-wrapped
// text numbered "[n/count] text", centred down the row beside the icon. It scrolls by pixels, 2 a
// line and the window's height a page, as any scrolled list: what lies outside the window is cut
// by it. Rows of the link kinds are drawn as hyperlinks; a click on one tells the parent dialog
// (kZQAlertLinkMessage), which runs the row's link text.
//
// The page makes the object and its window at dialog initialisation and destroys both with the
// page; the plug-in object fills it (clear, then add). The window class is registered once per
// module and never unregistered; control ids come from one process-wide counter.
#pragma once

#include <windows.h>

// Sent, never posted, to the parent when a link row is clicked: wParam = 0-based row, lParam = 0.
// The message carries no pointer: the parent takes the row's command line from its own strip
// (CZQAlertWnd::BTakeLink), which hands over only the row it marked before it sent the message.
inline constexpr UINT kZQAlertLinkMessage = 0x7400;
// Room of a link's command line as the parent takes it (the terminating zero included).
inline constexpr size_t kAlertLinkChars = 512;

// Kinds of a row; the last two are links.
enum : DWORD {
    ZQ_ALERT_WARNING = 0,
    ZQ_ALERT_ERROR = 1,
    ZQ_ALERT_WARNING_LINK = 2,
    ZQ_ALERT_ERROR_LINK = 3,
    ZQ_ALERT_KIND_NONE = 4,
};

// One row, kept by value in the window's array; the texts are local-heap copies the window owns.
struct AlertItem {
    int iPosition;      // 1-based, set when the rows are laid out
    PWSTR pszText;
    PWSTR pszNumbered;  // "[position/count] text"
    RECT rcRow;         // scrolled client coordinates
    RECT rcLink;        // where the numbered text was last drawn, scrolled client coordinates
    HICON hIcon;        // one of the window's icons (not owned)
    BOOL bVisited;
    PWSTR pszLink;      // may be null
    DWORD dwKind;
};

class CZQAlertWnd {
public:
    static constexpr PCWSTR kClassName = L"A583A43E_6FD9_4DBF_97D6_B23A5DBBDFBB";
    static constexpr int kFirstControlId = 5611;
    static constexpr int kControlIdStep = 4;
    static constexpr int kIconSize = 32;
    static constexpr int kTextIndent = 34;    // the icon and its gap, left of every text
    static constexpr int kMinRowHeight = 36;
    static constexpr int kRowGap = 2;         // above every row

    CZQAlertWnd();
    virtual ~CZQAlertWnd();
    CZQAlertWnd(const CZQAlertWnd&) = delete;
    CZQAlertWnd& operator=(const CZQAlertWnd&) = delete;

    // The window over the rectangle (the parent's client coordinates), right to left when the
    // parent is; icons by name or id from the icon module (null: the system's), the first for the
    // warning kinds, the second for the error kinds. FALSE when the class cannot be registered,
    // the parent is not a window, module or rectangle is missing, or a window exists already.
    BOOL BCreate(HWND hParent, HINSTANCE hInstance, HINSTANCE hIconModule, PCWSTR pszFirstIcon, PCWSTR pszSecondIcon,
                 const RECT* prc);
    // FALSE when there is no window.
    BOOL BDestroy();
    // The command line of the link row this strip is handing over with the message (uMsg and
    // wParam as the parent received them), copied and cut to kAlertLinkChars - 1 characters; taken
    // once. FALSE, with an empty line, for any other message: another row, one this strip did not
    // send, or one sent from another thread or process.
    BOOL BTakeLink(UINT uMsg, WPARAM wParam, PWSTR pszLine);
    // A row at the end, every row numbered and laid out again. FALSE without a window or text, for
    // a kind of 4 or more or one whose icon is missing, or when memory runs out.
    BOOL BAddItem(PCWSTR pszText, DWORD dwKind, PCWSTR pszLink);
    void VClearItems();
    void VShow(BOOL bShow);

    // The height of a window that shows one whole row (its icon and two lines of text) with the
    // gaps above and below it, inside the window's edge.
    static int IStripHeight();
    // The pixels scrolled off above: the scroll bar's position, over a range from 0 to the rows'
    // total height with their gaps.
    int IScrollOffset() const;

    HWND Hwnd() const { return m_hWnd; }
    int ItemCount() const { return m_nCount; }
    const AlertItem& Item(int i) const { return m_pItems[i]; }

private:
    static LRESULT CALLBACK WndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    void VPaint();
    BOOL BSetCursor() const;
    void VOnKeyDown(WPARAM wParam);
    void VOnVScroll(WORD wCode, WORD wTrack);
    void VOnButtonDown(LPARAM lParam);
    void VOnButtonUp(LPARAM lParam);
    void VLayout();
    void VUpdateScrollBar() const;
    // The message's client point plus the scroll offset.
    POINT ScrolledPoint(LPARAM lParam) const;
    int ILinkAt(POINT pt, bool bUnvisitedOnly) const;
    BOOL BAppend(const AlertItem& item);
    static void VFreeItem(AlertItem& item);

    HWND m_hWnd = nullptr;
    HINSTANCE m_hInstance = nullptr;
    HINSTANCE m_hIconModule = nullptr;
    HICON m_ahIcons[4] = {};  // by kind: 0 and 2 the first icon, 1 and 3 the second
    LONG m_lLinkCount = 0;    // link rows added since the window was made
    HCURSOR m_hHand = nullptr;
    HCURSOR m_hArrow = nullptr;
    LONG m_lPressX = 0;
    LONG m_lPressY = 0;
    int m_iHandOver = -1;     // the link row being sent to the parent, -1 outside that send
    bool* m_pbAlive = nullptr;  // during that send: cleared when the object goes
    AlertItem* m_pItems = nullptr;
    int m_nCount = 0;
    int m_nCapacity = 0;
    int m_nGrowBy = 0;  // 0: count / 8, at least 4 and at most 1,024
};
