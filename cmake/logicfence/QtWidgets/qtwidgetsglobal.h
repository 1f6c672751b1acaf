// Every Qt Widgets and Print Support header includes this one first; the logic layer sees this
// copy before Qt's, so that a widget header reached through any path stops its build.
#error "The logic layer uses Qt Core and Gui only; a widget header was included."
