-- Start-up script of the default skin: builds the favourites window and shows it. Everything
-- else (the list, the toolbar, the settings dialog) is driven by the program.
main = CreateTemplate("main")
if main ~= nil then
  CreateWindow(main, nil)
end
