#pragma once
// ziwei serve: the HTTP service (serve/server.h) on an address of this
// machine, until SIGTERM or SIGINT.

#include <span>
#include <string>
#include <string_view>

#include "cli/options.h"
#include "serve/server.h"

namespace ziwei::cli {

struct ServeOptions {
  serve::ServerOptions server;
};

// Reads the arguments that follow "serve". Pure.
Parsed<ServeOptions> parseServeCommand(std::span<const std::string_view> args);

std::string serveHelpText();

int serveCommand(std::span<const std::string_view> args);

}  // namespace ziwei::cli
