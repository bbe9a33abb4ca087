#pragma once

// How a modal form ended, as a button hands it to its form.
constexpr int mrNone = 0;
constexpr int mrOk = 1;
constexpr int mrCancel = 2;
