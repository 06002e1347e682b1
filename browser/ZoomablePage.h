#pragma once

// A page whose zoom can be asked for and read back, in the page's own
// percents (100: the page at its own size), and that tells when a page has
// completed or is loaded again (a refresh puts it back at the browser's
// own zoom some time later).
class CZoomablePage
{
public:
    enum class Event
    {
        PageCompleted,
        Refreshing,
    };
    class Listener
    {
    public:
        virtual void OnPageEvent(Event event) = 0;

    protected:
        ~Listener() = default;
    };

    // Refused while no page is shown.
    virtual bool ApplyZoom(int nPercent) = 0;
    // False where the browser does not say.
    virtual bool ReadZoom(int* pnPercent) = 0;
    // How large a page at nPercent shows on the screen, in percents of the
    // screen's pixels (more than nPercent where the system's scale is more
    // than 100 % and the browser counts it in).
    virtual int OnScreen(int nPercent) const = 0;
    virtual void SetListener(Listener* pListener) noexcept = 0;

protected:
    ~CZoomablePage() = default;
};
