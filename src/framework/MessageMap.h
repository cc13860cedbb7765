// Message-map macros in the classic framework's style. Each row's handler is a captureless lambda
// that casts the window object to the class that declared the map and calls the member.
#pragma once

#include "framework/Wnd.h"

#define DECLARE_MESSAGE_MAP()                                   \
protected:                                                      \
    static const MessageMap* GetThisMessageMap();               \
    const MessageMap* GetMessageMap() const override { return GetThisMessageMap(); }

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                  \
    const MessageMap* theClass::GetThisMessageMap()             \
    {                                                           \
        using ThisClass = theClass;                             \
        using TheBase = baseClass;                              \
        static const MessageMapEntry entries[] = {

#define END_MESSAGE_MAP()                                       \
        {0, 0, 0, nullptr}};                                    \
        static const MessageMap map = {&TheBase::GetThisMessageMap, entries}; \
        return &map;                                            \
    }

#define MAP_CALL_(expr) [](CWnd* wnd_, WPARAM wParam_, LPARAM lParam_) -> LRESULT { \
        auto* self_ = static_cast<ThisClass*>(wnd_); (void)self_; (void)wParam_; (void)lParam_; expr; }

#define ON_COMMAND(id, fn) {WM_COMMAND, 0, (id), MAP_CALL_((self_->*(fn))(); return 0)},
#define ON_CONTROL(code, id, fn) {WM_COMMAND, (code), (id), MAP_CALL_((self_->*(fn))(); return 0)},
#define ON_BN_CLICKED(id, fn) ON_CONTROL(BN_CLICKED, id, fn)
#define ON_CBN_SELCHANGE(id, fn) ON_CONTROL(CBN_SELCHANGE, id, fn)
#define ON_NOTIFY(code, id, fn) {WM_NOTIFY, static_cast<UINT>(code), (id), MAP_CALL_( \
        LRESULT result_ = 0; (self_->*(fn))(reinterpret_cast<NMHDR*>(lParam_), &result_); return result_)},
#define ON_MESSAGE(message, fn) {(message), 0, 0, MAP_CALL_(return (self_->*(fn))(wParam_, lParam_))},

#define ON_WM_PAINT() {WM_PAINT, 0, 0, MAP_CALL_(self_->OnPaint(); return 0)},
#define ON_WM_CLOSE() {WM_CLOSE, 0, 0, MAP_CALL_(self_->OnClose(); return 0)},
#define ON_WM_DESTROY() {WM_DESTROY, 0, 0, MAP_CALL_(self_->OnDestroy(); return 0)},
#define ON_WM_SYSCOMMAND() {WM_SYSCOMMAND, 0, 0, MAP_CALL_( \
        self_->OnSysCommand(static_cast<UINT>(wParam_), lParam_); return 0)},
#define ON_WM_QUERYDRAGICON() {WM_QUERYDRAGICON, 0, 0, MAP_CALL_( \
        return reinterpret_cast<LRESULT>(self_->OnQueryDragIcon()))},
#define ON_WM_WINDOWPOSCHANGING() {WM_WINDOWPOSCHANGING, 0, 0, MAP_CALL_( \
        self_->OnWindowPosChanging(reinterpret_cast<WINDOWPOS*>(lParam_)); return 0)},
#define ON_WM_SIZE() {WM_SIZE, 0, 0, MAP_CALL_( \
        self_->OnSize(static_cast<UINT>(wParam_), LOWORD(lParam_), HIWORD(lParam_)); return 0)},
#define ON_WM_DRAWITEM() {WM_DRAWITEM, 0, 0, MAP_CALL_( \
        self_->OnDrawItem(static_cast<int>(wParam_), reinterpret_cast<DRAWITEMSTRUCT*>(lParam_)); return TRUE)},
#define ON_WM_SETCURSOR() {WM_SETCURSOR, 0, 0, MAP_CALL_( \
        return self_->OnSetCursor(reinterpret_cast<HWND>(wParam_), LOWORD(lParam_), HIWORD(lParam_)))},
