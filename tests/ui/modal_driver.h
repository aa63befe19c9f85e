// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>

#include <functional>

namespace reelcraft::test {

// Once a modal window other than `below` is in front, runs `act` on it (from the event loop,
// so the window's own modal run is live). Polls briefly; gives up after a few seconds.
void WhenModalAppears(std::function<void(QWidget *)> act, QWidget *below = nullptr);

// Clicks the button of the modal window in front whose text, without '&', is `text`.
void ClickButtonWhenModal(const QString &text, QWidget *below = nullptr);

} // namespace reelcraft::test
