/* The side tree of this site, read by quillet.js. */
nav_tree_
