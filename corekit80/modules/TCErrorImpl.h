#pragma once

// Forgets the registered error callback, so that every test starts clean.
void TCError_ResetErrorMessageCallback();
