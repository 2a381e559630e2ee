#pragma once
// A fixture of the layering check: allowed edges, directly and transitively downwards.
#include "engine/Solver.h"
#include "input/Reader.h"
#include "platform/Prompter.h"
// #include "shell/ui/Window.h" in a comment is no include
