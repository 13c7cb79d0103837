#pragma once

// The display models a port-selection window and its demonstrations are for.
enum class DemoModel { KD317, KD426, KD138 };
