#pragma once

#include "chores/Clipboard.h"
