// A module script runs only when it was sent as JavaScript; it then tells
// whether the stylesheet, sent as CSS, applied.
const marker = document.getElementById("marker");
const applied = getComputedStyle(marker).color === "rgb(1, 2, 3)";
marker.textContent = applied ? "the stylesheet applied" : "the stylesheet did not apply";
