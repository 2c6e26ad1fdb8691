/* The search index of this site, read by quillet.js. */
search_index_
