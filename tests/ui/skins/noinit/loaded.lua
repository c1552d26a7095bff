MessageBox("ran", "loaded")
