#pragma once

// The display products (models) a port-selection window and its demonstrations are for.
enum class DisplayProduct { KD317, KD426, KD138 };
