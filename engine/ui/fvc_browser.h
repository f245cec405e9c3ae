// Placeholder until the keyed browser widget lands.
#pragma once
