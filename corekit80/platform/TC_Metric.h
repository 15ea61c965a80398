#pragma once

// The measure a font size refers to. It carries no data yet: a font stored with a
// metric is kept in absolute device units and read back at exactly its stored height.
struct TC_Metric {};
