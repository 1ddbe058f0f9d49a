// placeholder replaced by the simulated board
