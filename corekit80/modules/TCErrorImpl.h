#pragma once

// The reset of the error callback, for tests.

// Forgets the registered error callback, so that every test starts clean.
void TCError_ResetErrorMessageCallback();
