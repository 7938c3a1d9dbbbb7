#pragma once
#include <QtGlobal>

// The one wait primitive: runs pending window events and, if there are none,
// blocks in the event loop until the next event or the deadline.
void Ereignisse_abwarten_ns(qint64 höchstens_ns);
void Ereignisse_abwarten(int höchstens_ms);
// Runs the pending events without blocking.
void Ereignisse_verarbeiten();
