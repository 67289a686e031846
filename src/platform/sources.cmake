# sources of platform
