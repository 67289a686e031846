# sources of sim
