# test helpers
