#pragma once
// The core of the framework (TComponent, TControl, TGraphicControl, TWinControl, TCustomControl,
// TTimer, TScreen) lies below the form and the application and never includes them. What it needs
// from above, it asks through these two interfaces:
//
//   THost       the application: the backend, the timers, the pointer's state and cursor, the
//               forms, the exception box. TApplication implements it and hands it to the core
//               with SetHost for its lifetime.
//   TFormHost   the top-level window a control is on: its back buffer, invalid areas, focus and
//               focus mark. TForm implements it; a control finds it through its parents.
#include <vector>

#include "gfx/Bitmap.h"
#include "gfx/Canvas.h"
#include "gfx/Types.h"
#include "gui/backend/Backend.h"

namespace gui {

class TComponent;
class TControl;
class TForm;
class TTimer;
class TWinControl;

class THost {
public:
    virtual Backend& TheBackend() = 0;
    virtual void RegisterTimer(TTimer* t) = 0;
    virtual void UnregisterTimer(TTimer* t) = 0;
    virtual TControl* MouseControl() const = 0;  // deepest control under the pointer
    virtual void ReleaseMouseState(TControl* c) = 0;
    virtual void UpdateCursor() = 0;
    virtual void HandleException(TComponent* sender) = 0;  // call inside a catch block
    virtual const std::vector<TForm*>& Forms() const = 0;
    virtual TForm* ActiveForm() const = 0;
    virtual TWinControl* ActiveControl() const = 0;  // of the active form
    // The control under a screen point (the topmost form there, its deepest enabled control).
    virtual TControl* ControlAtPos(gfx::TPoint screen) const = 0;

protected:
    ~THost() = default;
};

// The application while it exists, else nullptr.
THost* Host();
void SetHost(THost* host);

class TFormHost {
public:
    virtual TForm* Form() = 0;
    virtual WindowHandle Handle() const = 0;
    virtual gfx::TBitmap& BackBuffer() = 0;
    virtual gfx::TCanvas& FormCanvas() = 0;
    // Rectangles in the form's client coordinates.
    virtual void InvalidateFormRect(const gfx::TRect& r) = 0;
    virtual void MarkDrawn(const gfx::TRect& r) = 0;
    virtual void PaintInvalid() = 0;
    virtual void PaintFormRect(const gfx::TRect& r) = 0;
    virtual void Present(const gfx::TRect& r) = 0;
    virtual void PaintFocusMark(const TControl* c, gfx::TCanvas& canvas, gfx::TPoint origin,
                                const gfx::TRect& clip) const = 0;
    virtual TWinControl* ActiveControl() const = 0;
    virtual void SetActiveControl(TWinControl* c) = 0;
    virtual bool Active() const = 0;

protected:
    ~TFormHost() = default;
};

}  // namespace gui
