// Owns a curses window for one scope: deleted on every way out.
#pragma once

#include <curses.h>

class CursesWindow {
  public:
    explicit CursesWindow(WINDOW* w = nullptr) : w_(w) {}
    ~CursesWindow() { reset(); }
    CursesWindow(const CursesWindow&) = delete;
    CursesWindow& operator=(const CursesWindow&) = delete;
    CursesWindow(CursesWindow&& o) noexcept : w_(o.w_) { o.w_ = nullptr; }
    CursesWindow& operator=(CursesWindow&& o) noexcept
    {
        if (this != &o) {
            reset();
            w_ = o.w_;
            o.w_ = nullptr;
        }
        return *this;
    }
    WINDOW* get() const { return w_; }
    explicit operator bool() const { return w_ != nullptr; }
    WINDOW* release()
    {
        WINDOW* w = w_;
        w_ = nullptr;
        return w;
    }
    void reset(WINDOW* w = nullptr)
    {
        if (w_ != nullptr) delwin(w_);
        w_ = w;
    }

  private:
    WINDOW* w_;
};
