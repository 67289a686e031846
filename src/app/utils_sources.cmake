# sources of app
