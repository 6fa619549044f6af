// A command when no Kirasoe runs: the settings read as a start reads them,
// neither the camera nor the frame shown, and nothing written to the
// settings file. Commands handed to it meanwhile run after it, as in a
// Kirasoe that runs; the process ends when none is left.
#pragma once

#include <functional>

#include "core/command_line.h"

// Runs `command`; `listening` is called once later commands can find it.
command_line::Outcome RunStandalone(const command_line::Command& command, const std::function<void()>& listening);
