// Size of the show's window and of its back buffer's pixel array.
#pragma once

constexpr int kScreenWidth = 1200;
constexpr int kScreenHeight = 800;
