// The `serve` command's run: the server until SIGINT or SIGTERM.
#ifndef SERVE_MAIN_H
#define SERVE_MAIN_H

#include <stdio.h>

#include <string>

#include "ServeConfig.h"

// Prints "listening on URL" and "token: TOKEN" to p_pOut once the server
// listens; problems go to standard error. Returns the exit status: 0 after
// a clean stop, 1 when the server could not start.
// The library's console goes to p_strLog once the flash tree is open ("":
// it stays where it is).
int serveUntilSignal(const ServeConfig& p_stConfig, FILE* p_pOut, const std::string& p_strLog);

#endif
