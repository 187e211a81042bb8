// The rich edit's caret: a child widget filled with the caret colour that fades out and in
// once per caret blink time, stepped by the host's animation ticks. Never made from XML.
#pragma once

#include "DUIWindow.h"
#include "IDMTimeline.h"

namespace DM {

class DUICaret : public DUIWindow, public IDMTimeline {
public:
    ~DUICaret() override;
    bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    // Steps per fade; below 1 counts as 1.
    void SetAnimateCount(int count);
    void SetCaretSize(int width, int height);
    // Places the caret at x, y of its parent's client area; negative values are ignored.
    void SetCaretPos(int x, int y);
    void Show();
    void Hide();
    DMCode OnTimeline() override;

    DWORD m_dwLastStepTime = 0;
    DWORD m_dwStepInterval = 0;
    DMColor m_crCaret = DMColor(0, 0, 0, 0xFF);
    int m_nWidth = 0;
    int m_nHeight = 0;
    int m_nX = -1;
    int m_nY = -1;
    bool m_bRising = true;
    int m_nAnimateCount = 0;
    int m_nAlphaStep = 42;
    int m_nAlpha = 255;

private:
    LRESULT OnPaintCaret(WPARAM canvas);
    void StepAlpha();
    bool m_bAnimating = false;
};

}  // namespace DM
