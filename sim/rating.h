// The penalty rules and the verdict.
#pragma once

// Applies the penalty rules once and returns the accumulated penalty rounded down.
double rateDriving();
