#pragma once

class wxWindow;

// Takes the theme's shading off the edges of a scrolled window. GTK shades
// an edge where the content goes on beyond it, and it takes the text
// control's horizontal scroll range, which can be narrower than the pane
// while the lines are short, for such content: short lines got a grey fade
// at the right edge of the panes. Nothing happens under another toolkit.
void RemoveScrollShading(wxWindow& window);
