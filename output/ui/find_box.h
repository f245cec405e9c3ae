// Placeholder until the find box lands.
#pragma once
