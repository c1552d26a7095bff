-- Runs before "init" in the same engine.
loadedRan = true
MessageBox(true, 5)
