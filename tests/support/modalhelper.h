#pragma once

#include <functional>

class QDialog;

// Runs action on the next modal dialog as soon as it is shown, so that a test
// can drive a flow that calls exec(). Checks every 10 ms for up to 5 s.
void answerNextModal(std::function<void(QDialog *)> action);
