#pragma once

#include <utility>

// Runs a function when the scope ends, unless dismissed first: the undo of
// a sequence of steps that is complete only at its end.
template <class F>
class ScopeGuard
{
public:
    explicit ScopeGuard(F f) noexcept : m_f(std::move(f)) {}
    ~ScopeGuard()
    {
        if (m_bActive)
            m_f();
    }
    ScopeGuard(const ScopeGuard&) = delete;
    ScopeGuard& operator=(const ScopeGuard&) = delete;

    void Dismiss() noexcept { m_bActive = false; }

private:
    F m_f;
    bool m_bActive = true;
};
